#include "decimal_reader.h"
#include "pile_profile.h"
#include "sample_piles.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

bool Dark(const QImage &image, double x, double y)
{
    const QPoint point(int(std::lround(x)), int(std::lround(y)));
    return image.rect().contains(point) && qGray(image.pixel(point)) < 128;
}

// Dark pixels anywhere in the rectangle.
int DarkPixels(const QImage &image, const QRectF &rect)
{
    int count = 0;
    const QRect area = rect.toAlignedRect() & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128;
    return count;
}

// A boundary line crosses the band column at y, away from the pile: dark within a pixel of it.
bool LineAt(const QImage &image, double x, double y)
{
    return Dark(image, x, y) || Dark(image, x, y - 1) || Dark(image, x, y + 1);
}

struct TProfileCase
{
    const char *name;
    TPileInput input;
    QSize size;
};

class PileProfile : public testing::TestWithParam<TProfileCase>
{ };

TEST_P(PileProfile, BandsToScaleAndEveryLayerLabelledBesideItsBand)
{
    TPileReports reports;
    SamplePiles::Add(reports, GetParam().input);
    const TPileRecord &pile = reports.Piles().back();
    QImage image(GetParam().size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRectF area(QPointF(0, 0), QSizeF(GetParam().size));
    {
        QPainter painter(&image);
        DrawPileProfile(painter, area, pile, 1);
    }
    const TProfileLayout l = LayoutPileProfile(area, pile);
    ASSERT_EQ(l.soilBands.size(), pile.input.soilLayers.size());
    ASSERT_EQ(l.rockBands.size(), pile.input.rockLayers.size());
    ASSERT_EQ(l.soilLabels.size(), l.soilBands.size());
    ASSERT_EQ(l.rockLabels.size(), l.rockBands.size());

    // Bands follow each other down from the ground line, each as thick as its layer.
    std::vector<double> thickness;
    for (const TSoilLayer &soil : pile.input.soilLayers)
        thickness.push_back(*ReadDecimal(soil.li));
    for (const TRockLayer &rock : pile.input.rockLayers)
        thickness.push_back(*ReadDecimal(rock.hi));
    std::vector<QRectF> bands = l.soilBands;
    bands.insert(bands.end(), l.rockBands.begin(), l.rockBands.end());
    std::vector<QRectF> labels = l.soilLabels;
    labels.insert(labels.end(), l.rockLabels.begin(), l.rockLabels.end());
    double depth = 0;
    const double x = (l.elevation.left() + l.pile.left()) / 2;
    EXPECT_TRUE(LineAt(image, x, l.elevation.top())) << "ground line";
    for (std::size_t k = 0; k < bands.size(); ++k) {
        const double top = l.elevation.top() + depth * l.depthScale;
        depth += thickness[k];
        const double bottom = l.elevation.top() + depth * l.depthScale;
        EXPECT_NEAR(bands[k].top(), top, 1e-6) << "band " << k;
        EXPECT_NEAR(bands[k].bottom(), bottom, 1e-6) << "band " << k;
        EXPECT_TRUE(LineAt(image, x, bottom)) << "boundary under band " << k;
        // The label lies right of the bands, clear of every other label, drawn, and joined to
        // its band by a leader that starts at the band's middle.
        EXPECT_GT(labels[k].left(), l.elevation.right()) << "label " << k;
        EXPECT_TRUE(area.contains(labels[k])) << "label " << k;
        EXPECT_GT(DarkPixels(image, labels[k]), 20) << "label " << k;
        if (k > 0) {
            EXPECT_GE(labels[k].top(), labels[k - 1].bottom() - 1e-6) << "label " << k;
        }
        EXPECT_TRUE(Dark(image, l.elevation.right() + 1, bands[k].center().y()))
            << "leader of band " << k;
        // A band tall enough for its label has it level with its middle.
        if (bands[k].height() > 3 * labels[k].height()) {
            EXPECT_NEAR(labels[k].center().y(), bands[k].center().y(), 1) << "label " << k;
        }
    }
    EXPECT_NEAR(depth * l.depthScale, l.elevation.height(), 1e-6);
    // The pile reaches the tip and is drawn white over the hatching of the bands.
    EXPECT_NEAR(l.pile.bottom(), l.rockBands.back().bottom(), 1e-6);
    const QRectF inside = l.pile.adjusted(l.pile.width() * 0.15, l.pile.height() * 0.2,
                                          -l.pile.width() * 0.6, -l.pile.height() * 0.2);
    EXPECT_LT(DarkPixels(image, inside), inside.width() * inside.height() * 0.05);
    EXPECT_GT(DarkPixels(image, l.plan), 50) << "plan view";
    EXPECT_GT(DarkPixels(image, l.resistances), 200) << "resistances";
}

INSTANTIATE_TEST_SUITE_P(
    Piles, PileProfile,
    testing::Values(
        TProfileCase {"circle_page", SamplePiles::Circle(), {1600, 1400}},
        TProfileCase {"ellipse_page", SamplePiles::Ellipse(), {1600, 1400}},
        TProfileCase {"thin_socket_page", SamplePiles::ThinSocketSquare(), {1600, 1400}},
        TProfileCase {"thin_socket_popup", SamplePiles::ThinSocketSquare(), {760, 1500}},
        TProfileCase {"eighteen_layers_popup", SamplePiles::OtherSections()[2], {760, 1500}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
