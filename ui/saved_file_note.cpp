#include "saved_file_note.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace {

// A note too long for its line is drawn this much smaller at the least before its name is cut.
constexpr double SmallestShare = 0.8;

} // namespace

void ShowSavedFile(QLabel *label, const QString &verb, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const int room = label->contentsRect().width();
    QFont font = label->font();
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    const int smallest = std::max(1, static_cast<int>(std::ceil(pixels * SmallestShare)));
    int fitting = pixels;
    for (; fitting > smallest; --fitting) {
        font.setPixelSize(fitting);
        if (QFontMetrics(font).horizontalAdvance(verb + name) <= room)
            break;
    }
    font.setPixelSize(fitting);
    const QFontMetrics metrics(font);
    const QString shown =
        verb + metrics.elidedText(name, Qt::ElideMiddle, room - metrics.horizontalAdvance(verb));
    // The smaller size holds for this note only: the label's next plain text has its own font.
    label->setText(QString("<span style=\"font-size:%1px\">%2</span>")
                       .arg(fitting)
                       .arg(shown.toHtmlEscaped()));
    label->setToolTip(QDir::toNativeSeparators(path));
}
