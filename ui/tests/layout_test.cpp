#include "ui_test_support.h"

#include "pile_profile.h"
#include "profile_view.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>

namespace {

// The window at the scale a small screen gives it: everything on a page scales by the one
// factor, fonts included, and no text is cut.
class WindowLayout : public testing::TestWithParam<double>
{
public:
    void SetUp() override
    {
        m_window = std::make_unique<TVXR_FRM_MDLF1>(GetParam());
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    template<typename T = QWidget>
    T *Find(const char *name) const
    {
        T *widget = m_window->findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    std::unique_ptr<TVXR_FRM_MDLF1> m_window;
};

TEST_P(WindowLayout, TextsInsideGroupBoxesScaleAndFit)
{
    const double scale = GetParam();
    QWidget *page = Find("MainFormLayer");
    const int standard = page->font().pixelSize();
    EXPECT_EQ(standard, std::lround(13 * scale));
    for (QGroupBox *group : page->findChildren<QGroupBox *>()) {
        EXPECT_EQ(group->font().pixelSize(), standard) << group->objectName().toStdString();
        for (QLabel *label : group->findChildren<QLabel *>()) {
            if (label->isHidden() || label->text().isEmpty())
                continue;
            const std::string name = label->objectName().toStdString();
            EXPECT_EQ(label->font().pixelSize(), standard) << name;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                      label->contentsRect().width())
                << name << " " << label->text().toStdString();
        }
    }
}

// The profile's labels are legible at every scale: over the page where it is large enough, else
// over the screen.
TEST_P(WindowLayout, ProfileLabelsAreLegible)
{
    QTest::mouseClick(Find("cbt_compute"), Qt::LeftButton);
    QTest::mouseClick(Find("cbt_View"), Qt::LeftButton);
    QTest::mouseClick(Find("cbt_Profile"), Qt::LeftButton);
    auto *view = Find<TProfileView>("ProfileView");
    ASSERT_TRUE(view->isVisible());
    QWidget *page = Find("JieGuo_DocLayer");
    if (view->isWindow())
        EXPECT_EQ(view->geometry(), page->screen()->availableGeometry());
    else
        EXPECT_EQ(view->geometry(), page->rect());
    EXPECT_EQ(view->isWindow(), GetParam() < 0.95);
    const TPileRecord &pile = m_window->Reports().Piles().back();
    EXPECT_GE(LayoutPileProfile(QRectF(view->rect()).adjusted(4, 4, -4, -4), pile).labelPixels, 10);
    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_FALSE(view->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Scales, WindowLayout, testing::Values(0.65, 0.91, 1.0, 1.95));

// The window takes the largest scale at which it fits the screen with its title bar, smaller or
// larger than its design.
TEST(WindowScale, FitsTheScreen)
{
    const struct
    {
        QSize available;
        double scale;
    } cases[] = {
        {{600, 560}, 0.65}, // a small screen
        {{1280, 840}, 1.0},  {{1920, 1040}, 1.25}, {{1600, 1600}, 1.95}, // the height decides
        {{285, 1600}, 0.75}, // the width decides
        {{100, 100}, 0.3}, // at the least
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(FittingScale(c.available), c.scale)
            << c.available.width() << " x " << c.available.height();
}

} // namespace
