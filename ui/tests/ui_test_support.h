#pragma once

#include "main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <memory>

// A shown main window at full size whose messages are recorded and whose files go to a fresh
// temporary folder; controls are found by their names.
class MainWindowTest : public testing::Test
{
public:
    void SetUp() override
    {
        m_folder = std::filesystem::path(testing::TempDir())
            / ("ui_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_window = std::make_unique<TVXR_FRM_MDLF1>(1.0);
        m_window->SetDocumentsFolder([this] { return m_folder; });
        m_window->SetMessageSink([this](const QString &text) { m_messages.append(text); });
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void TearDown() override
    {
        m_window.reset();
        std::filesystem::remove_all(m_folder);
    }

    template<typename T = QWidget>
    T *Find(const char *name) const
    {
        T *widget = m_window->findChild<T *>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void Click(const char *name) { QTest::mouseClick(Find(name), Qt::LeftButton); }

    QString Text(const char *name) const
    {
        if (auto *edit = m_window->findChild<QLineEdit *>(name))
            return edit->text();
        return Find<QLabel>(name)->text();
    }

    std::unique_ptr<TVXR_FRM_MDLF1> m_window;
    std::filesystem::path m_folder;
    QStringList m_messages;
};

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// The colour a widget draws its text in.
inline QColor TextColour(const QWidget *widget)
{
    if (qobject_cast<const QLineEdit *>(widget))
        return widget->palette().color(QPalette::Text);
    return widget->palette().color(QPalette::WindowText);
}
