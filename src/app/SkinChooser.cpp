#include "app/SkinChooser.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CenterOnParent.h"

namespace trovenix {

TFormSkin::TFormSkin(ISkinSwitch& skins, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      choice_(skins),
      list_(new QListWidget(this)) {
  setObjectName(QStringLiteral("FormSkin"));
  setWindowTitle(QStringLiteral("Choose Skin"));
  list_->setObjectName(QStringLiteral("ListBox1"));
  for (const std::string& name : TSkinChoice::DisplayNames())
    list_->addItem(QString::fromStdString(name));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  // Every name shows without a scroll bar.
  list_->setMinimumSize(200,
                        list_->sizeHintForRow(0) * list_->count() + 2 * list_->frameWidth() + 4);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  ok->setObjectName(QStringLiteral("ButtonOK"));
  cancel->setObjectName(QStringLiteral("ButtonCancel"));
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // Keyboard moves through the list apply as clicks do.
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { choice_.Clicked(row); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(this, &QDialog::accepted, this, [this] { choice_.Accepted(); });
  // Closing the window by its title bar or Escape counts as Cancel.
  connect(this, &QDialog::rejected, this, [this] { choice_.Cancelled(); });
}

void TFormSkin::showEvent(QShowEvent* event) {
  choice_.Opened();
  {
    const QSignalBlocker quiet(list_);
    list_->setCurrentRow(-1);
    list_->clearSelection();
  }
  QDialog::showEvent(event);
  CenterOnParent(*this);
}

}  // namespace trovenix
