#include "about_box.h"

#include "colours.h"
#include "design_units.h"
#include "hover_label.h"
#include "logo_strip.h"
#include "program_title.h"
#include "scaled_layer.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

const QString OrganizationName = "(示例桥梁工程软件组)";

} // namespace

const QUrl TVXR_CZL_FRM_CopyRight::OrganizationAddress("https://www.example.org/");
const QUrl TVXR_CZL_FRM_CopyRight::WebAddress("https://www.example.com/");
const QUrl TVXR_CZL_FRM_CopyRight::MailAddress("mailto:info@example.com");
const QUrl
    TVXR_CZL_FRM_CopyRight::DownloadAddress("https://www.example.com/pilecalc/pilecalc-latest.zip");

TVXR_CZL_FRM_CopyRight::TVXR_CZL_FRM_CopyRight(double scale)
    : QWidget(nullptr, Qt::Popup)
    , m_openUrl([](const QUrl &url) { QDesktopServices::openUrl(url); })
{
    setObjectName("VXR_CZL_FRM_CopyRight");
    setWindowTitle("关于");
    setFixedSize(Scaled(260, scale), Scaled(330, scale));
    CopyRightLayer = new TScaledLayer("CopyRightLayer", QSize(260, 330), this);
    CopyRightLayer->setGeometry(rect());
    TScaledLayer *layer = CopyRightLayer;

    lb_mokuaiming =
        layer->AddLabel(layer, "lb_mokuaiming", QString::fromUtf8(ProgramTitle), 0, 16, 265, 33);
    lb_mokuaiming->setAlignment(Qt::AlignCenter);
    layer->SetFontPixels(lb_mokuaiming, 18);
    SetLinkLook(lb_mokuaiming, false, Qt::blue);
    lB_copyright = layer->AddLabel(layer, "lB_copyright", "Copyright © 2024-2026", 32, 72, 217, 25);
    lb_sheji = layer->AddLabel(layer, "lb_sheji", "设计：开发组", 32, 104, 100, 25);

    lb_danwei = new THoverLabel("lb_danwei", OrganizationName, layer);
    layer->Place(lb_danwei, 32, 128, 218, 25);
    lb_danwei->setAlignment(Qt::AlignCenter);
    layer->SetFontPixels(lb_danwei, 10);
    SetLinkLook(lb_danwei, false, Colours::Note);

    lb_wangzhilb = layer->AddLabel(layer, "lb_wangzhilb", "网址：", 32, 152, 50, 25);
    lb_wangzhi = new THoverLabel("lb_wangzhi", WebAddress.host(), layer);
    layer->Place(lb_wangzhi, 70, 152, 146, 25);
    SetLinkLook(lb_wangzhi, false, Qt::blue);

    lb_lianxi = layer->AddLabel(layer, "lb_lianxi", "邮箱：", 32, 176, 50, 25);
    lb_lianxiUr = new THoverLabel("lb_lianxiUr", MailAddress.path(), layer);
    layer->Place(lb_lianxiUr, 70, 176, 146, 25);
    SetLinkLook(lb_lianxiUr, false, Qt::blue);

    cbt_update = new QPushButton("更\n新", layer);
    cbt_update->setObjectName("cbt_update");
    cbt_update->setStyleSheet("QPushButton { border: 1px solid #B0605A; border-radius: 5px;"
                              " background: #FFF4F2; }");
    layer->Place(cbt_update, 216, 156, 20, 40);
    layer->SetFontPixels(cbt_update, 10);

    img_picture = layer->AddLabel(layer, "img_picture", QString(), 72, 212, 100, 100);
    QPixmap picture(200, 200);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    PaintPileEmblem(painter, QRectF(0, 0, 200, 200));
    painter.end();
    img_picture->setPixmap(picture);
    img_picture->setScaledContents(true);

    connect(lb_danwei, &THoverLabel::MouseMoved, this, &TVXR_CZL_FRM_CopyRight::lb_danweiMouseMove);
    connect(lb_danwei, &THoverLabel::MouseLeft, this, &TVXR_CZL_FRM_CopyRight::lb_danweiMouseLeave);
    connect(lb_danwei, &THoverLabel::Clicked, this, [this] { m_openUrl(OrganizationAddress); });
    connect(lb_wangzhi, &THoverLabel::MouseMoved, this,
            [this] { SetLinkLook(lb_wangzhi, true, Colours::Error); });
    connect(lb_wangzhi, &THoverLabel::MouseLeft, this,
            [this] { SetLinkLook(lb_wangzhi, false, Qt::blue); });
    connect(lb_wangzhi, &THoverLabel::Clicked, this, [this] { m_openUrl(WebAddress); });
    connect(lb_lianxiUr, &THoverLabel::MouseMoved, this,
            [this] { SetLinkLook(lb_lianxiUr, true, Colours::Error); });
    connect(lb_lianxiUr, &THoverLabel::MouseLeft, this,
            [this] { SetLinkLook(lb_lianxiUr, false, Qt::blue); });
    connect(lb_lianxiUr, &THoverLabel::Clicked, this, [this] { m_openUrl(MailAddress); });
    connect(cbt_update, &QPushButton::clicked, this, [this] { m_openUrl(DownloadAddress); });

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TVXR_CZL_FRM_CopyRight::lb_danweiMouseMove()
{
    lb_danwei->setText(OrganizationAddress.toString());
    SetLinkLook(lb_danwei, true, Colours::Error);
}

void TVXR_CZL_FRM_CopyRight::lb_danweiMouseLeave()
{
    lb_danwei->setText(OrganizationName);
    SetLinkLook(lb_danwei, false, Colours::Note);
}

void TVXR_CZL_FRM_CopyRight::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0xF4, 0x8D, 0x72));
    gradient.setColorAt(0.45, QColor(0xFE, 0xE9, 0xE9));
    gradient.setColorAt(1, QColor(0xFE, 0xE9, 0xE9));
    painter.fillRect(rect(), gradient);
}
