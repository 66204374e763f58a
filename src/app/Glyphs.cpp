// The menu glyphs, painted on transparent 16 × 16 images.
#include "app/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lf {
namespace {

const QColor kInk(40, 40, 40);

void Open(QPainter& p) {  // a yellow folder, its lid open
    p.setPen(kInk);
    p.setBrush(QColor(230, 190, 60));
    p.drawRect(1, 4, 12, 10);
    p.drawRect(1, 2, 5, 2);
    p.setBrush(QColor(250, 220, 110));
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 14), QPoint(1, 14)}));
}

void Save(QPainter& p) {  // a blue diskette
    p.setPen(kInk);
    p.setBrush(QColor(50, 90, 190));
    p.drawRect(1, 1, 13, 13);
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(4, 9, 7, 5);
}

void Print(QPainter& p) {  // a printer with its sheet
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(160, 160, 160));
    p.drawRect(1, 6, 13, 6);
    p.setBrush(Qt::white);
    p.drawRect(4, 10, 7, 5);
    p.setPen(QColor(0, 180, 0));
    p.drawPoint(12, 8);
}

void Exit(QPainter& p) {  // a door with an arrow leaving it
    p.setPen(kInk);
    p.setBrush(QColor(150, 90, 40));
    p.drawRect(2, 1, 7, 13);
    p.setPen(QPen(QColor(200, 30, 30), 2));
    p.drawLine(8, 8, 14, 8);
    p.drawLine(11, 5, 14, 8);
    p.drawLine(11, 11, 14, 8);
}

void Undo(QPainter& p) {  // a curved arrow pointing back
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 90, 200), 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(4, 6);
    arc.cubicTo(10, 2, 16, 8, 11, 14);
    p.drawPath(arc);
    p.setBrush(QColor(30, 90, 200));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygon({QPoint(1, 6), QPoint(7, 2), QPoint(7, 10)}));
}

void Copy(QPainter& p) {  // two sheets
    p.setPen(kInk);
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 8, 10);
    p.drawRect(6, 4, 8, 10);
    p.setPen(QColor(120, 120, 120));
    for (int y = 7; y <= 12; y += 2) p.drawLine(8, y, 12, y);
}

void Paste(QPainter& p) {  // a clipboard with a sheet on it
    p.setPen(kInk);
    p.setBrush(QColor(170, 120, 60));
    p.drawRect(2, 2, 10, 13);
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(5, 1, 4, 2);
    p.setBrush(Qt::white);
    p.drawRect(6, 6, 8, 9);
}

void Statistics(QPainter& p) {  // a bar chart
    p.setPen(kInk);
    p.drawLine(1, 14, 15, 14);
    p.drawLine(1, 1, 1, 14);
    p.setBrush(QColor(220, 40, 40));
    p.drawRect(3, 8, 3, 6);
    p.setBrush(QColor(40, 170, 40));
    p.drawRect(7, 3, 3, 11);
    p.setBrush(QColor(40, 80, 220));
    p.drawRect(11, 6, 3, 8);
}

void Zoom(QPainter& p) {  // a magnifying glass
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(190, 225, 255));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(QColor(120, 70, 30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 10), QPointF(14, 14));
}

void Webcam(QPainter& p) {  // a round camera on a foot
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(kInk);
    p.setBrush(QColor(220, 220, 220));
    p.drawEllipse(QRectF(2.5, 0.5, 11, 11));
    p.setBrush(QColor(30, 30, 80));
    p.drawEllipse(QRectF(5.5, 3.5, 5, 5));
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(4.5, 12.5, 7, 2.5));
}

void Scan(QPainter& p) {  // a flatbed scanner with its light
    p.setPen(kInk);
    p.setBrush(QColor(150, 150, 160));
    p.drawRect(0, 7, 15, 6);
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(0, 5, 15, 2);
    p.setPen(QColor(60, 220, 60));
    p.drawLine(2, 10, 13, 10);
}

void About(QPainter& p) {  // an "i" in a blue disc
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 210));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(7, 6.5, 2, 6.5));
    p.drawEllipse(QRectF(6.75, 3, 2.5, 2.5));
}

void Retouch(QPainter& p) {  // a brush with a wet tip
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 90, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, 2), QPointF(7, 9));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 160));
    p.drawPolygon(
        QPolygonF({QPointF(6, 8), QPointF(8.5, 10.5), QPointF(3, 15), QPointF(1, 15), QPointF(1, 13)}));
}

using Painter = void (*)(QPainter&);
constexpr Painter kPainters[kGlyphCount] = {Open,       Save, Print,  Exit, Undo,  Copy,   Paste,
                                            Statistics, Zoom, Webcam, Scan, About, Retouch};

}  // namespace

QImage GlyphImage(int index) {
    if (index < 0 || index >= kGlyphCount) return QImage();
    QImage image(kGlyphSize, kGlyphSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    kPainters[index](painter);
    return image;
}

QIcon Glyph(int index) {
    const QImage image = GlyphImage(index);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace lf
