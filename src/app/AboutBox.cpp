#include "app/AboutBox.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CenterOnParent.h"

namespace trovenix {
namespace {

QLabel* NewLink(QWidget* parent, const char* objectName) {
  auto* link = new QLabel(parent);
  link->setObjectName(QString::fromLatin1(objectName));
  link->setTextFormat(Qt::RichText);
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  link->setCursor(Qt::PointingHandCursor);
  return link;
}

QString LinkText(const char* href, const char* text, const QColor& colour) {
  return QStringLiteral("<a href=\"%1\" style=\"color:%2; text-decoration:underline\">%3</a>")
      .arg(QString::fromLatin1(href), colour.name(), QString::fromLatin1(text));
}

}  // namespace

TFormAbout::TFormAbout(QWidget* parent, IUrlOpener& opener)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      opener_(opener),
      webSite_(NewLink(this, "LabelWebSite")),
      support_(NewLink(this, "LabelSupport")) {
  setObjectName(QStringLiteral("FormAbout"));
  setWindowTitle(QStringLiteral("About"));

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("ImageIcon"));
  icon->setPixmap(QPixmap(QStringLiteral(":/trovenix/icons/trovenix.png"))
                      .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  auto* title = new QLabel(QStringLiteral("Trovenix 4.0"), this);
  title->setObjectName(QStringLiteral("LabelTitle"));
  QFont bold = title->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.4);
  title->setFont(bold);
  ColourLinks();
  webSite_->installEventFilter(this);
  connect(webSite_, &QLabel::linkActivated, this,
          [this](const QString& href) { opener_.OpenUrl(QUrl(href)); });
  connect(support_, &QLabel::linkActivated, this,
          [this](const QString& href) { opener_.OpenUrl(QUrl(href)); });

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ButtonOK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addSpacing(8);
  texts->addWidget(webSite_);
  texts->addWidget(support_);
  auto* top = new QHBoxLayout;
  top->addWidget(icon, 0, Qt::AlignTop);
  top->addSpacing(12);
  top->addLayout(texts);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addLayout(top);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormAbout::ColourLinks() {
  webSite_->ensurePolished();
  const QColor colour = webSite_->palette().color(QPalette::WindowText);
  webSite_->setText(LinkText(WebSite, "Visit Qelvar Website", colour));
  support_->setText(LinkText(SupportMail, "Contact Support Department", colour));
}

bool TFormAbout::eventFilter(QObject* watched, QEvent* event) {
  // A new skin reaches each label on its own, after the dialog.
  if (watched == webSite_ &&
      (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange))
    ColourLinks();
  return QDialog::eventFilter(watched, event);
}

void TFormAbout::showEvent(QShowEvent* event) {
  ColourLinks();
  QDialog::showEvent(event);
  CenterOnParent(*this);
}

}  // namespace trovenix
