#include "ui_test_support.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

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

INSTANTIATE_TEST_SUITE_P(Scales, WindowLayout, testing::Values(0.65, 0.91, 1.0));

} // namespace
