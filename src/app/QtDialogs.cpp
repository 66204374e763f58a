// The Qt message boxes and file dialogs.
#include "app/QtDialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace lf {
namespace {

QWidget* BoxParent() { return QApplication::activeWindow(); }

void ShowBox(QMessageBox::Icon icon, const char* caption, const std::string& text) {
    QMessageBox box(icon, caption, QString::fromStdString(text), QMessageBox::Ok, BoxParent());
    box.exec();
}

}  // namespace

void QtDialogs::Information(const std::string& text) {
    ShowBox(QMessageBox::Information, "Information", text);
}

bool QtDialogs::Confirm(const std::string& text) {
    QMessageBox box(QMessageBox::Question, "Confirm", QString::fromStdString(text), QMessageBox::NoButton,
                    BoxParent());
    QPushButton* yes = box.addButton("&Yes", QMessageBox::YesRole);
    QPushButton* no = box.addButton("&No", QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogs::ErrorBox(const std::string& text) { ShowBox(QMessageBox::Critical, "Lumaforge", text); }

std::optional<std::string> QtDialogs::OpenFileName(const std::string& filter) {
    const QString name =
        QFileDialog::getOpenFileName(BoxParent(), QString(), lastFolder_, QtFileFilter(filter));
    if (name.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(name).absolutePath();
    return QFile::encodeName(name).toStdString();
}

std::optional<std::string> QtDialogs::SaveFileName(const std::string& filter,
                                                   const std::string& defaultExtension) {
    // The program asks "File exists. Overwrite?" itself, after the default extension is added.
    const QString name =
        QFileDialog::getSaveFileName(BoxParent(), QString(), lastFolder_, QtFileFilter(filter), nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(name).absolutePath();
    return WithDefaultExtension(QFile::encodeName(name).toStdString(), defaultExtension);
}

QString QtFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
        const QString shown = "(" + patterns + ")";
        entries << (parts[i].endsWith(shown) ? parts[i] : parts[i] + " " + shown);
    }
    return entries.join(";;");
}

std::string WithDefaultExtension(const std::string& name, const std::string& defaultExtension) {
    const size_t slash = name.find_last_of('/');
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    if (base.empty() || base.find('.') != std::string::npos || defaultExtension.empty()) return name;
    return name + "." + defaultExtension.substr(0, 3);
}

}  // namespace lf
