#include "ui/export/picture_caption.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

QImage withCaption(const QImage& picture, const QStringList& lines) {
    const QFont font = QGuiApplication::font();
    const QFontMetrics metrics(font);
    const int margin = metrics.height() / 2;
    const int strip = 2 * margin + static_cast<int>(lines.size()) * metrics.lineSpacing();
    QImage out(picture.width(), picture.height() + strip, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, picture);
    painter.setFont(font);
    painter.setPen(QColor(32, 32, 32));
    int baseline = picture.height() + margin + metrics.ascent();
    for (const QString& line : lines) {
        painter.drawText(margin, baseline,
                         metrics.elidedText(line, Qt::ElideRight, picture.width() - 2 * margin));
        baseline += metrics.lineSpacing();
    }
    return out;
}
