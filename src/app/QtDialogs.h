// The real message boxes and file dialogs behind the dialog seam, and the notation they
// translate.
#pragma once

#include <QString>
#include <string>

#include "platform/Dialogs.h"

namespace lf {

class QtDialogs final : public Dialogs {
public:
    void Information(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ErrorBox(const std::string& text) override;
    std::optional<std::string> OpenFileName(const std::string& filter) override;
    std::optional<std::string> SaveFileName(const std::string& filter,
                                            const std::string& defaultExtension) override;

private:
    QString lastFolder_;  // the dialogs start where the last one ended; the name field empty
};

// "Images|*.bmp;*.jpg" → "Images (*.bmp *.jpg)", entries joined by ";;". A name that already
// shows its patterns in parentheses ("Bitmap (*.bmp)") keeps them once.
QString QtFileFilter(const std::string& filter);

// A name typed without an extension gets the default one: the first three letters of
// defaultExtension ("bmp|jpg" → ".bmp"). A name with an extension is kept as it is.
std::string WithDefaultExtension(const std::string& name, const std::string& defaultExtension);

}  // namespace lf
