#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <functional>
#include <vector>

// A page of the window: it fills its parent and scales its content uniformly from its design
// size, keeping the aspect ratio. Controls are placed and given font sizes in design units.
class QLabel;
class QPushButton;

class TScaledLayer : public QWidget
{
    Q_OBJECT

public:
    TScaledLayer(const QString &name, QSize designSize, QWidget *parent);

    // Places `widget` at a rectangle of design units within its own parent (this layer or a
    // group box on it); placing it again moves it.
    void Place(QWidget *widget, int x, int y, int width, int height);
    QRect DesignRect(const QWidget *widget) const;
    // A named label or button on `parent`, placed at a rectangle of design units.
    QLabel *AddLabel(QWidget *parent, const QString &name, const QString &text, int x, int y,
                     int width, int height);
    QPushButton *AddButton(QWidget *parent, const QString &name, const QString &text, int x, int y,
                           int width, int height);
    // The font of `widget` in design pixels.
    void SetFontPixels(QWidget *widget, int pixels);

    double Scale() const { return m_scale; }
    void OnScale(std::function<void(double)> listener);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct TPlaced
    {
        QPointer<QWidget> widget;
        QRect design;
    };
    struct TFontSize
    {
        QPointer<QWidget> widget;
        int pixels;
    };

    void Apply(const TPlaced &placed) const;
    void ApplyFonts() const;
    QPoint Offset(const QWidget *widget) const;

    QSize m_designSize;
    double m_scale = 1;
    QPoint m_origin; // where the scaled design area starts inside the layer
    std::vector<TPlaced> m_placed;
    std::vector<TFontSize> m_fonts;
    std::vector<std::function<void(double)>> m_listeners;
};
