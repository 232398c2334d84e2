#include "app/Form4.h"

#include <QLabel>
#include <QSignalBlocker>

#include "app/AdditionalOptions.h"
#include "app/Form1.h"
#include "app/Form1Ui.h"

namespace trovenix {
namespace {

constexpr int DialogWidth = 372;

}  // namespace

TForm4::TForm4(TForm1& mainWindow)
    : QDialog(&mainWindow, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                               Qt::CustomizeWindowHint),
      main_(mainWindow) {
  setWindowTitle(QStringLiteral("Additional Options"));
  QFont font = mainWindow.font();
  font.setPointSize(DesignFontPointSize);
  setFont(font);
  setModal(false);
  setFixedSize(DialogWidth, 136);

  const QString groupCaption = QStringLiteral(" Additional Options ");
  group_ = new QGroupBox(groupCaption, this);
  group_->setAccessibleName(groupCaption);
  group_->setGeometry(8, 6, DialogWidth - 16, 88);

  const QString overwrite = QStringLiteral("Overwrite Existing File With The Same Name");
  checkOverwrite_ = new QCheckBox(overwrite, group_);
  checkOverwrite_->setAccessibleName(overwrite);
  checkOverwrite_->setGeometry(12, 24, DialogWidth - 40, 24);

  const QString dropDown = QStringLiteral(" Drop Down Items in Output Format List");
  spinDropDownItems_ = new QSpinBox(group_);
  spinDropDownItems_->setAccessibleName(dropDown);
  spinDropDownItems_->setRange(DropDownItemsMin, DropDownItemsMax);
  spinDropDownItems_->setValue(DropDownItemsDefault);
  spinDropDownItems_->setGeometry(12, 54, 56, 24);
  auto* label = new QLabel(dropDown, group_);
  label->setAccessibleName(dropDown);
  label->setGeometry(72, 54, DialogWidth - 100, 24);
  label->setBuddy(spinDropDownItems_);

  buttonDone_ = new QPushButton(QStringLiteral("Done"), this);
  buttonDone_->setAccessibleName(QStringLiteral("Done"));
  buttonDone_->setGeometry(DialogWidth - 8 - 90, 102, 90, 26);
  buttonDone_->setDefault(true);

  connect(buttonDone_, &QPushButton::clicked, this, &QDialog::close);
  connect(checkOverwrite_, &QCheckBox::toggled, this,
          [this](bool on) { main_.Model().Options.Overwrite = on; });
  connect(spinDropDownItems_, &QSpinBox::valueChanged, this, [this](int value) {
    SetDropDownItems(main_.Model(), value);
    main_.ShowState();
  });

  main_.SetAdditionalOptionsDialog(this);
  // The Vista font rule would run here; this is not Windows, so it changes
  // nothing.
  TSettingsSubject subject = main_.SettingsSubject();
  try {
    LoadSettings(main_.Services().Store, subject);
  } catch (...) {
    // Start-up goes on with the defaults.
  }
  main_.ShowState();
}

void TForm4::ShowState() {
  const TAdditionalOptions& options = main_.Model().Options;
  const QSignalBlocker quietCheck(checkOverwrite_);
  const QSignalBlocker quietSpin(spinDropDownItems_);
  checkOverwrite_->setChecked(options.Overwrite);
  spinDropDownItems_->setValue(options.DropDownItems);
}

void TForm4::ShowBesideMainWindow() {
  ShowState();
  const QRect frame = main_.frameGeometry();
  move(frame.center() - QPoint(width() / 2, height() / 2));
  show();
  raise();
  activateWindow();
}

}  // namespace trovenix
