// Opening and saving picture files over the BMP and JPEG codecs.
#include "app/PictureFiles.h"

#include "app/Document.h"
#include "platform/BmpCodec.h"
#include "platform/Dialogs.h"
#include "platform/JpegCodec.h"

namespace lf {

PictureFileKind ClassifyFileName(const std::string& fileName) {
    std::string upper = fileName;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (upper.find(".BMP") != std::string::npos) return PictureFileKind::Bitmap;
    if (upper.find(".JPG") != std::string::npos) return PictureFileKind::Jpeg;
    return PictureFileKind::Refused;
}

void OpenFile(const std::string& fileName) {
    const PictureFileKind kind = ClassifyFileName(fileName);
    if (kind == PictureFileKind::Refused) {
        ShowInformation(kOpenRefusal);
        return;
    }
    Bitmap picture = kind == PictureFileKind::Bitmap ? LoadBmpFile(fileName) : LoadJpegFile(fileName);
    MainBitmap = std::move(picture);
    SelectAll();
    ReDraw();
    CurrentView().PictureArrived();
}

void SaveFile(const std::string& fileName) {
    const PictureFileKind kind = ClassifyFileName(fileName);
    if (kind == PictureFileKind::Refused) {
        ShowInformation(kSaveRefusal);
        return;
    }
    if (kind == PictureFileKind::Bitmap)
        SaveBmpFile(MainBitmap, fileName);
    else
        SaveJpegFile(MainBitmap, fileName);
    ReDraw();
}

}  // namespace lf
