// The resize window: its controls at their places, the handlers that keep the labels and bars in
// step, and OK, which scales the picture through the document's resize.
#include "app/Resize.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <cstdint>

#include "app/Document.h"
#include "app/Geometry.h"
#include "app/ScrollBar.h"
#include "platform/CommandGuard.h"
#include "platform/Errors.h"

namespace lf {

TResizeForm* ResizeForm = nullptr;

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, int x, int y) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* text, QRect place) {
    auto* box = new QCheckBox(QString::fromUtf8(text), parent);
    box->setObjectName(name);
    box->setGeometry(place);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, QRect place) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(name);
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

ScrollBar* MakeBar(QWidget* parent, const char* name, QRect place) {
    auto* bar = new ScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setGeometry(place);
    bar->setRange(10, 2500);
    bar->setValue(10);
    bar->setPageStep(100);
    bar->setSingleStep(1);
    return bar;
}

// The labels hold the old size as text; like every handler here we read it back as a number.
int LabelNumber(const QLabel* label) { return label->text().toInt(); }

}  // namespace

TResizeForm::TResizeForm(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("ResizeForm");
    setWindowTitle(QString::fromUtf8("Ridimensiona"));
    setFixedSize(362, 253);

    // Positions are in the client pixels of each control's parent.
    GroupBox1 = new QGroupBox(QString::fromUtf8("Proprietà"), this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 8, 345, 201);
    QWidget* g = GroupBox1;
    Label1 = MakeLabel(g, "Label1", "Larghezza:", 24, 24);
    WidthLabel = MakeLabel(g, "WidthLabel", "0", 80, 24);
    Label2 = MakeLabel(g, "Label2", "Altezza:", 24, 48);
    HeightLabel = MakeLabel(g, "HeightLabel", "0", 80, 48);
    Label5 = MakeLabel(g, "Label5", "Dimensioni standard", 240, 32);
    RatioCheckBox = MakeCheckBox(g, "RatioCheckBox", "Mantieni proporzioni", QRect(8, 80, 129, 17));
    InterpolationCheckBox =
        MakeCheckBox(g, "InterpolationCheckBox", "&Utilizza pseudo interpolazione quando ingrandisci",
                     QRect(8, 104, 249, 17));
    InterpolationCheckBox->setChecked(true);
    Label4 = MakeLabel(g, "Label4", "Nuova larghezza:", 8, 136);
    WidthScrollBar = MakeBar(g, "WidthScrollBar", QRect(96, 136, 121, 13));
    NewWidthLabel = MakeLabel(g, "NewWidthLabel", "0000", 224, 136);
    Label3 = MakeLabel(g, "Label3", "Nuova altezza:", 16, 168);
    HeightScrollBar = MakeBar(g, "HeightScrollBar", QRect(96, 168, 121, 13));
    NewHeightLabel = MakeLabel(g, "NewHeightLabel", "0000", 224, 168);
    Button1 = MakeButton(g, "Button1", "&320 X 240", QRect(264, 56, 65, 17));
    Button2 = MakeButton(g, "Button2", "&640 X 480", QRect(264, 80, 65, 17));
    Button3 = MakeButton(g, "Button3", "&800 X 600", QRect(264, 104, 65, 17));
    Button4 = MakeButton(g, "Button4", "&1024 X 768", QRect(264, 128, 65, 17));
    Button5 = MakeButton(g, "Button5", "11&52 X 864", QRect(264, 152, 65, 17));
    Button6 = MakeButton(g, "Button6", "1&280 X 1024", QRect(264, 176, 65, 17));
    OKButton = MakeButton(this, "OKButton", "&OK", QRect(184, 216, 75, 25));
    OKButton->setToolTip("OK");
    CancelButton = MakeButton(this, "CancelButton", "&Cancella", QRect(272, 216, 75, 25));
    CancelButton->setToolTip("Cancel");

    setTabOrder(RatioCheckBox, InterpolationCheckBox);
    setTabOrder(InterpolationCheckBox, WidthScrollBar);
    setTabOrder(WidthScrollBar, HeightScrollBar);
    setTabOrder(HeightScrollBar, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);
    setTabOrder(Button4, Button5);
    setTabOrder(Button5, Button6);
    setTabOrder(Button6, OKButton);
    setTabOrder(OKButton, CancelButton);

    WidthScrollBar->OnChange = [this] { WidthScrollBarChange(); };
    HeightScrollBar->OnChange = [this] { HeightScrollBarChange(); };
    // A check box's click handler runs whenever its tick changes, by the user or by code.
    connect(RatioCheckBox, &QCheckBox::toggled, this,
            [this] { RunGuarded([this] { RatioCheckBoxClick(); }); });
    connect(InterpolationCheckBox, &QCheckBox::toggled, this,
            [this] { RunGuarded([this] { RatioCheckBoxClick(); }); });
    const std::pair<QPushButton*, void (TResizeForm::*)()> clicks[] = {
        {Button1, &TResizeForm::Button1Click},   {Button2, &TResizeForm::Button2Click},
        {Button3, &TResizeForm::Button3Click},   {Button4, &TResizeForm::Button4Click},
        {Button5, &TResizeForm::Button5Click},   {Button6, &TResizeForm::Button6Click},
        {OKButton, &TResizeForm::OKButtonClick}, {CancelButton, &TResizeForm::CancelButtonClick},
    };
    for (auto [button, handler] : clicks)
        connect(button, &QPushButton::clicked, this,
                [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); });

    // Centred on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

int TResizeForm::OldWidth() const { return LabelNumber(WidthLabel); }
int TResizeForm::OldHeight() const { return LabelNumber(HeightLabel); }

int TResizeForm::ProportionalHeight() const {
    // Only a window never opened on a picture shows an old width of 0.
    const int oldWidth = OldWidth();
    if (oldWidth == 0) throw Error("Division by zero");
    return static_cast<int>(int64_t{OldHeight()} * WidthScrollBar->Position() / oldWidth);
}

void TResizeForm::Open() {
    WidthLabel->setText(QString::number(MainBitmap.Width()));
    WidthLabel->adjustSize();
    WidthScrollBar->SetPosition(MainBitmap.Width());
    HeightLabel->setText(QString::number(MainBitmap.Height()));
    HeightLabel->adjustSize();
    HeightScrollBar->SetPosition(MainBitmap.Height());

    // Showing activates the window, now or later as the window system reports it; that one
    // activation is this opening's, whose handler runs here, once.
    activationHandled_ = !(isVisible() && isActiveWindow());
    show();
    raise();
    activateWindow();
    RunGuarded([this] { FormActivate(); });
}

void TResizeForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) return;
    if (!isActiveWindow()) {
        activationHandled_ = false;
    } else if (activationHandled_) {
        activationHandled_ = false;
    } else {
        RunGuarded([this] { FormActivate(); });
    }
}

void TResizeForm::FormActivate() {
    const int oldWidth = OldWidth();
    if (oldWidth == 0) throw Error("Division by zero");
    HeightScrollBar->SetMax(static_cast<int>(int64_t{OldHeight()} * WidthScrollBar->Max() / oldWidth));
}

void TResizeForm::WidthScrollBarChange() {
    NewWidthLabel->setText(QString::number(WidthScrollBar->Position()));
    NewWidthLabel->adjustSize();
    if (RatioCheckBox->isChecked()) HeightScrollBar->SetPosition(ProportionalHeight());
}

void TResizeForm::HeightScrollBarChange() {
    NewHeightLabel->setText(QString::number(HeightScrollBar->Position()));
    NewHeightLabel->adjustSize();
}

void TResizeForm::RatioCheckBoxClick() {
    if (RatioCheckBox->isChecked()) {
        HeightScrollBar->hide();
        HeightScrollBar->SetPosition(ProportionalHeight());
    } else {
        HeightScrollBar->show();
    }
}

void TResizeForm::Preset(int width, int height) {
    RatioCheckBox->setChecked(false);
    WidthScrollBar->SetPosition(width);
    HeightScrollBar->SetPosition(height);
}

void TResizeForm::OKButtonClick() {
    const int width = WidthScrollBar->Position();
    const int height = HeightScrollBar->Position();
    close();
    ResizeOK(OldWidth(), OldHeight(), width, height, InterpolationCheckBox->isChecked());
}

void TResizeForm::CancelButtonClick() { close(); }

}  // namespace lf
