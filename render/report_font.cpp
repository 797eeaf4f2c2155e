#include "report_font.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace {

// A Chinese Windows lists SimHei by its Chinese name, an English one by its English name.
const QStringList Families {"SimHei", "黑体", "Noto Sans Mono CJK SC", "WenQuanYi Zen Hei Mono"};

// Where the Debian package puts the face collection that holds Noto Sans Mono CJK SC.
const QStringList FontFiles {"/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
                             "/usr/share/fonts/truetype/noto/NotoSansCJK-Regular.ttc"};

QString FindFamily()
{
    const QStringList known = QFontDatabase::families();
    for (const QString &family : Families)
        if (known.contains(family, Qt::CaseInsensitive))
            return family;
    for (const QString &file : FontFiles) {
        if (!QFile::exists(file))
            continue;
        const int id = QFontDatabase::addApplicationFont(file);
        if (id < 0)
            continue;
        const QStringList loaded = QFontDatabase::applicationFontFamilies(id);
        for (const QString &family : Families)
            if (loaded.contains(family, Qt::CaseInsensitive))
                return family;
    }
    return {};
}

} // namespace

QString ReportFontFamily()
{
    static const QString family = FindFamily();
    return family;
}

QFont ReportFont(double pointSize)
{
    QFont font(ReportFontFamily());
    font.setPointSizeF(pointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}
