// Opening and saving the picture as a BMP or JPEG file, the format chosen by the file's name.
#pragma once

#include <string>

namespace lf {

enum class PictureFileKind { Bitmap, Jpeg, Refused };

// Upper-cases the whole name, path included, and looks for ".BMP" anywhere, then ".JPG"
// anywhere: so "holiday.bmp.jpg" and "pics.bmp/x.jpg" are bitmap files and "photo.jpeg" is refused.
PictureFileKind ClassifyFileName(const std::string& fileName);

inline constexpr const char* kOpenRefusal = "You must specify a BMP or JPG file.";
inline constexpr const char* kSaveRefusal = "You must specify a .BMP or .JPG file.\r\nexample: MyPic.bmp";

// Loads the file as the picture, selects all of it, redraws and tells the view a picture has
// arrived. A refused name shows kOpenRefusal and changes nothing. The file is decoded in full
// before it replaces the picture, so an unreadable or broken file throws lf::Error and leaves
// picture, selection and menus as they were. Neither sets CurrentFile nor takes an undo snapshot.
void OpenFile(const std::string& fileName);

// Writes the picture (24-bit BMP, or JPEG at quality 90) and redraws. A refused name shows
// kSaveRefusal and writes nothing. The file is replaced atomically; a failed write throws
// lf::Error with the system's reason and leaves any old file intact.
void SaveFile(const std::string& fileName);

}  // namespace lf
