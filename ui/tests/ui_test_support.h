#pragma once

#include "main_window.h"

#include "text_file.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextDocument>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

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

    // The documents folder becomes a plain file, so that every save into it fails.
    void MakeDocumentsFolderAFile()
    {
        const std::filesystem::path notAFolder = m_folder / "file";
        std::ofstream(notAFolder) << "x";
        m_window->SetDocumentsFolder([notAFolder] { return notAFolder; });
    }

    QString Text(const char *name) const
    {
        if (auto *edit = m_window->findChild<QLineEdit *>(name))
            return edit->text();
        return ShownText(Find<QLabel>(name));
    }

    // What a label shows, as plain text, and how wide it draws it.
    static QString ShownText(const QLabel *label)
    {
        if (!Qt::mightBeRichText(label->text()))
            return label->text();
        QTextDocument document;
        document.setHtml(label->text());
        return document.toPlainText();
    }
    static double ShownWidth(const QLabel *label)
    {
        QTextDocument document;
        document.setDefaultFont(label->font());
        document.setDocumentMargin(0);
        if (Qt::mightBeRichText(label->text()))
            document.setHtml(label->text());
        else
            document.setPlainText(label->text());
        return document.idealWidth();
    }

    std::unique_ptr<TVXR_FRM_MDLF1> m_window;
    std::filesystem::path m_folder;
    QStringList m_messages;
};

// The local moment of the stored reports' time stamps, "2024/3/5 14:07:09".
inline std::chrono::system_clock::time_point StoredMoment()
{
    std::tm local {};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 5;
    local.tm_hour = 14;
    local.tm_min = 7;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

inline std::string ReadBytes(const std::filesystem::path &path)
{
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A stored file under tests/data ("reports/book_default.txt"), as it stands.
inline std::string Golden(const std::string &name)
{
    return ReadBytes(std::filesystem::path(PILECALC_TEST_DATA) / name);
}

// A stored text as the program saves it: each line in the system code page, followed by CR LF.
inline std::string SavedForm(const std::string &text)
{
    std::string bytes;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        bytes += ToSystemCodePage(text.substr(from, end - from)) + "\r\n";
    return bytes;
}

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
