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

    // Bands follow each other down from the ground line, each as thick as its layer to one scale,
    // or as the least height where that would be thinner.
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
    bool raised = false;
    for (std::size_t k = 0; k < bands.size(); ++k) {
        const double top = l.elevation.top() + depth;
        const double height = std::max(thickness[k] * l.depthScale, l.minBandHeight);
        raised = raised || thickness[k] * l.depthScale < l.minBandHeight;
        depth += height;
        const double bottom = l.elevation.top() + depth;
        EXPECT_NEAR(bands[k].top(), top, 1e-6) << "band " << k;
        EXPECT_NEAR(bands[k].bottom(), bottom, 1e-6) << "band " << k;
        EXPECT_GE(bands[k].height(), l.labelPixels * 0.5) << "band " << k << " visible";
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
    EXPECT_NEAR(depth, l.elevation.height(), 1e-6);
    EXPECT_EQ(l.depthToScale, !raised);
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

// The thin socket under thick soil is raised to be seen, and says that it is not to scale.
TEST(PileProfileLayout, AThinSocketIsRaisedAndMarkedNotToScale)
{
    TPileInput input = SamplePiles::Circle();
    input.soilLayers = {{"30.00", "80"}};
    input.rockLayers = {SamplePiles::Rock("0.05", "微风化", "完整", "0.8", "40")};
    TPileReports reports;
    SamplePiles::Add(reports, input);
    const TProfileLayout l = LayoutPileProfile(QRectF(0, 0, 1600, 1000), reports.Piles().back());
    ASSERT_EQ(l.rockBands.size(), 1u);
    EXPECT_FALSE(l.depthToScale);
    EXPECT_NEAR(l.rockBands[0].height(), l.minBandHeight, 1e-6);
    EXPECT_GE(l.minBandHeight, l.labelPixels);
    EXPECT_GT(l.below.height(), 0);
}

// The same rock is hatched the same way wherever it lies, another rock another way, and every
// pattern has its line in the legend.
TEST(PileProfileLayout, RocksAreHatchedByWeatheringAndIntegrity)
{
    using SamplePiles::Rock;
    TPileInput input = SamplePiles::Circle();
    input.rockLayers = {Rock("1.00", "中风化", "较完整", "0.6", "20"),
                        Rock("1.00", "微风化", "较完整", "0.6", "40"),
                        Rock("1.00", "中风化", "较完整", "0.6", "20"),
                        Rock("1.00", "中风化", "破碎", "0.2", "20"),
                        Rock("1.00", "微风化", "较完整", "0.6", "40")};
    TPileReports reports;
    SamplePiles::Add(reports, input);
    const TProfileLayout l = LayoutPileProfile(QRectF(0, 0, 1600, 1000), reports.Piles().back());
    ASSERT_EQ(l.rockPatterns.size(), 5u);
    EXPECT_EQ(l.rockPatterns[0], l.rockPatterns[2]);
    EXPECT_EQ(l.rockPatterns[1], l.rockPatterns[4]);
    EXPECT_NE(l.rockPatterns[0], l.rockPatterns[1]);
    EXPECT_NE(l.rockPatterns[0], l.rockPatterns[3]);
    ASSERT_EQ(l.legend.size(), 3u);
    EXPECT_EQ(l.legend[0].legend, QString::fromUtf8("中风化·较完整"));
    EXPECT_NE(l.legend[0], l.legend[2]) << "the broken rock is hatched closer";
    // By index the integrity comes from Kv's class.
    EXPECT_EQ(RockPatternOf(Rock("1", "中风化", "", "0.6", "20"), TInterpBasis::IntegrityIndex),
              l.legend[0]);
}

} // namespace
