// The program entry: the application, the real dialogs, clipboard and cursor, the forms.
#include "app/Main.h"

#include <QApplication>
#include <QCursor>

#include "app/QtClipboard.h"
#include "app/QtDialogs.h"
#include "app/Resize.h"
#include "app/Zoom.h"
#include "platform/Clipboard.h"
#include "platform/Cursor.h"
#include "platform/Dialogs.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Only the name: a display name would be appended to every window title.
    QApplication::setApplicationName(lf::kApplicationTitle);

    lf::QtDialogs dialogs;
    lf::InstallDialogs(&dialogs);
    lf::QtClipboard clipboard;
    lf::InstallClipboard(&clipboard);
    lf::SetCursorHooks([] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                       [] { QApplication::restoreOverrideCursor(); });

    // The main window first: its creation may already load the picture named on the command
    // line. The other forms stay hidden until a command shows them.
    lf::TMainForm mainForm(application.arguments().mid(1));
    lf::ZoomForm = new lf::TZoomForm();
    lf::ResizeForm = new lf::TResizeForm();
    mainForm.show();
    const int status = application.exec();
    delete lf::ResizeForm;
    lf::ResizeForm = nullptr;
    delete lf::ZoomForm;
    lf::ZoomForm = nullptr;

    lf::InstallDialogs(nullptr);
    lf::InstallClipboard(nullptr);
    lf::SetCursorHooks({}, {});
    return status;
}
