// The Qt clipboard and the picture ↔ image conversions.
#include "app/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <cstring>
#include <new>

namespace lf {

QImage ToImage(const Bitmap& picture) {
    if (picture.Empty()) return QImage();
    // Our rows are exactly a BGR888 image's rows; copy() detaches from our buffer.
    const QImage view(picture.Bits(), picture.Width(), picture.Height(),
                      static_cast<qsizetype>(picture.Stride()), QImage::Format_BGR888);
    return view.copy();
}

Bitmap FromImage(const QImage& image) {
    Bitmap picture;
    if (image.isNull()) return picture;
    CheckPictureSize(image.width(), image.height());
    const QImage rows = image.convertToFormat(QImage::Format_BGR888);
    // A conversion that cannot get its memory gives a null image, not a picture of size 0.
    if (rows.isNull()) throw std::bad_alloc();
    picture.SetSizeUninitialised(rows.width(), rows.height());
    const size_t rowBytes = static_cast<size_t>(rows.width()) * 3;
    for (int y = 0; y < rows.height(); ++y) std::memcpy(picture.ScanLine(y), rows.constScanLine(y), rowBytes);
    return picture;
}

void QtClipboard::SetPicture(const Bitmap& picture) {
    QGuiApplication::clipboard()->setImage(ToImage(picture));
}

std::optional<Bitmap> QtClipboard::GetPicture() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasImage()) return std::nullopt;
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return std::nullopt;
    return FromImage(image);
}

}  // namespace lf
