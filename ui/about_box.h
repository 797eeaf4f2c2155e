#pragma once

#include <QUrl>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class THoverLabel;
class TScaledLayer;

// The about box: who made the program and how to reach them. Its links hand their addresses to
// the system's default handler and do not wait for it.
class TVXR_CZL_FRM_CopyRight : public QWidget
{
    Q_OBJECT

public:
    explicit TVXR_CZL_FRM_CopyRight(double scale);

    // Where the addresses go; the system's default handler unless replaced.
    void SetUrlOpener(std::function<void(const QUrl &)> opener) { m_openUrl = std::move(opener); }

    static const QUrl OrganizationAddress;
    static const QUrl WebAddress;
    static const QUrl MailAddress;
    static const QUrl DownloadAddress;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void lb_danweiMouseMove();
    void lb_danweiMouseLeave();

    TScaledLayer *CopyRightLayer;
    QLabel *lb_mokuaiming;
    QLabel *lB_copyright;
    QLabel *lb_sheji;
    THoverLabel *lb_danwei;
    QLabel *lb_wangzhilb;
    THoverLabel *lb_wangzhi;
    QLabel *lb_lianxi;
    THoverLabel *lb_lianxiUr;
    QPushButton *cbt_update;
    QLabel *img_picture;
    std::function<void(const QUrl &)> m_openUrl;
};
