#include "scaled_layer.h"

#include "design_units.h"

#include <QHash>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int DesignFontPixels = 13;

} // namespace

TScaledLayer::TScaledLayer(const QString &name, QSize designSize, QWidget *parent)
    : QWidget(parent)
    , m_designSize(designSize)
{
    setObjectName(name);
    SetFontPixels(this, DesignFontPixels);
}

void TScaledLayer::Place(QWidget *widget, int x, int y, int width, int height)
{
    const QRect design(x, y, width, height);
    auto it = std::find_if(m_placed.begin(), m_placed.end(),
                           [widget](const TPlaced &placed) { return placed.widget == widget; });
    if (it == m_placed.end())
        it = m_placed.insert(m_placed.end(), {widget, design});
    it->design = design;
    Apply(*it);
}

QLabel *TScaledLayer::AddLabel(QWidget *parent, const QString &name, const QString &text, int x,
                               int y, int width, int height)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    Place(label, x, y, width, height);
    return label;
}

QPushButton *TScaledLayer::AddButton(QWidget *parent, const QString &name, const QString &text,
                                     int x, int y, int width, int height)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    Place(button, x, y, width, height);
    return button;
}

QRect TScaledLayer::DesignRect(const QWidget *widget) const
{
    for (const TPlaced &placed : m_placed) {
        if (placed.widget == widget)
            return placed.design;
    }
    return {};
}

void TScaledLayer::SetFontPixels(QWidget *widget, int pixels)
{
    auto it = std::find_if(m_fonts.begin(), m_fonts.end(),
                           [widget](const TFontSize &font) { return font.widget == widget; });
    if (it == m_fonts.end())
        it = m_fonts.insert(m_fonts.end(), {widget, pixels});
    it->pixels = pixels;
    ApplyFonts();
}

void TScaledLayer::OnScale(std::function<void(double)> listener)
{
    listener(m_scale);
    m_listeners.push_back(std::move(listener));
}

QPoint TScaledLayer::Offset(const QWidget *widget) const
{
    // Only the controls standing on the layer itself share the centring of the design area.
    return widget->parentWidget() == this ? m_origin : QPoint();
}

void TScaledLayer::Apply(const TPlaced &placed) const
{
    if (!placed.widget)
        return;
    const QRect &r = placed.design;
    const QPoint offset = Offset(placed.widget);
    placed.widget->setGeometry(offset.x() + Scaled(r.x(), m_scale),
                               offset.y() + Scaled(r.y(), m_scale),
                               ScaledExtent(r.width(), m_scale), ScaledExtent(r.height(), m_scale));
}

void TScaledLayer::ApplyFonts() const
{
    // Once a style sheet has polished a widget, its font no longer follows its parent's: every
    // widget on the layer is given its font here, in the design size of the nearest one that has
    // its own (the layer's by default), so that group boxes, grids, edits and popups scale too.
    QHash<const QWidget *, int> designPixels;
    for (const TFontSize &size : m_fonts) {
        if (size.widget)
            designPixels.insert(size.widget, size.pixels);
    }
    const auto apply = [&](QWidget *widget) {
        const QWidget *owner = widget;
        while (owner && !designPixels.contains(owner))
            owner = owner->parentWidget();
        const int pixels =
            std::max(1, Scaled(owner ? designPixels.value(owner) : DesignFontPixels, m_scale));
        if (widget->font().pixelSize() == pixels)
            return;
        QFont font = widget->font();
        font.setPixelSize(pixels);
        widget->setFont(font);
    };
    apply(const_cast<TScaledLayer *>(this));
    for (QWidget *widget : findChildren<QWidget *>())
        apply(widget);
}

void TScaledLayer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const double scale =
        std::min(width() / double(m_designSize.width()), height() / double(m_designSize.height()));
    m_origin = QPoint((width() - Scaled(m_designSize.width(), scale)) / 2,
                      (height() - Scaled(m_designSize.height(), scale)) / 2);
    m_scale = scale;
    ApplyFonts();
    for (const TPlaced &placed : m_placed)
        Apply(placed);
    for (const auto &listener : m_listeners)
        listener(m_scale);
}
