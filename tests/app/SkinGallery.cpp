// Lays out the kinds of controls the main window and its dialogs use, in
// their fixed sizes, and saves one picture per skin: the window with an open
// menu and an open list beside it, and the dialogs below. Used to check by
// eye that every skin keeps every caption readable and unclipped.
//
//   trovenix_skin_gallery <output folder> [skin name ...]
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>

#include "app/AboutBox.h"
#include "app/SkinChooser.h"
#include "app/SkinManager.h"

namespace {

using trovenix::TSkinManager;

QPushButton* Button(QWidget* parent, const char* text, int x, int y, int w, int h = 25) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setGeometry(x, y, w, h);
  return button;
}

QComboBox* Combo(QWidget* parent, QStringList items, int x, int y, int w) {
  auto* combo = new QComboBox(parent);
  combo->addItems(items);
  combo->setGeometry(x, y, w, 22);
  return combo;
}

void Label(QWidget* parent, const char* text, int x, int y, int w) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setGeometry(x, y, w, 22);
}

QMainWindow* MainWindowLookAlike() {
  auto* window = new QMainWindow;
  window->setWindowTitle(QStringLiteral("Trovenix"));
  for (const char* title : {"File", "Options", "Skins", "Help"}) window->menuBar()->addMenu(title);
  auto* area = new QWidget;
  area->setFixedSize(763, 520);
  window->setCentralWidget(area);

  Button(area, "Add Video ", 8, 6, 90);
  Button(area, "Remove", 104, 6, 90)->setEnabled(false);
  Button(area, "Clear All ", 200, 6, 90);
  Button(area, "Stop Convert", 296, 6, 96);
  Button(area, "Convert Now !", 657, 6, 98)->setDefault(true);

  auto* list = new QTableWidget(3, 7, area);
  list->setGeometry(8, 38, 747, 150);
  list->setHorizontalHeaderLabels(
      {"Video File Name", "Video Size", "FrameRate", "Duration", "Output", "Progress", "Frames"});
  const int widths[] = {250, 84, 84, 75, 65, 60, 60};
  for (int c = 0; c < 7; ++c) list->setColumnWidth(c, widths[c]);
  list->verticalHeader()->hide();
  list->setShowGrid(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  const char* rows[3][7] = {
      {"/home/ann/Videos/holiday.mp4", "1280x720", "25.00", "00:03:12", "MP4", "42%", "4800"},
      {"/home/ann/Videos/concert.avi", "640x480", "29.97", "01:02:03", "MP4", "Done", "111600"},
      {"/home/ann/Music/broken.mp3", "", "", "", "", "Error", ""}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 7; ++c) {
      auto* item = new QTableWidgetItem(QString::fromLatin1(rows[r][c]));
      if (c == 0) item->setCheckState(r == 2 ? Qt::Unchecked : Qt::Checked);
      if (c > 0) item->setTextAlignment(Qt::AlignCenter);
      list->setItem(r, c, item);
    }
  list->selectRow(1);

  Label(area, "Output Format : ", 8, 196, 100);
  Combo(area, {"iPod (*.mp4)", "MP3 - Mpeg Layer3 Audio (*.mp3)"}, 108, 196, 262);
  Label(area, "Output Folder : ", 380, 196, 100);
  auto* folder = new QLineEdit(QStringLiteral("/home/ann/Videos/Converted"), area);
  folder->setGeometry(478, 196, 244, 22);
  Button(area, "...", 727, 196, 28, 22)->setToolTip(QStringLiteral("Browse For Folder"));

  auto* video = new QGroupBox(QStringLiteral(" Video Settings "), area);
  video->setGeometry(8, 226, 250, 172);
  const char* videoLabels[] = {
      "Video Codec : ", "Video Size : ", "Video Bitrate : ", "Video Framerate : ", "Video Zoom : "};
  const QStringList videoItems[] = {
      {"MPEG4"}, {"320x240"}, {"768 kbps"}, {"25"}, {"None", "LetterBox"}};
  for (int i = 0; i < 5; ++i) {
    Label(video, videoLabels[i], 8, 20 + i * 29, 110);
    Combo(video, videoItems[i], 118, 20 + i * 29, 122)->setEnabled(i != 4);
  }

  auto* audio = new QGroupBox(QStringLiteral(" Audio Settings "), area);
  audio->setGeometry(264, 226, 250, 172);
  const char* audioLabels[] = {
      "Audio Codec : ", "Audio Bitrate :", "Audio Channels :", "Sampling Rate : "};
  const QStringList audioItems[] = {{"AAC"}, {"128 kbps"}, {"2"}, {"44100"}};
  for (int i = 0; i < 4; ++i) {
    Label(audio, audioLabels[i], 8, 20 + i * 29, 110);
    Combo(audio, audioItems[i], 118, 20 + i * 29, 122);
  }
  Label(audio, "Volume : ", 8, 20 + 4 * 29, 60);
  auto* volume = new QSlider(Qt::Horizontal, audio);
  volume->setRange(0, 10);
  volume->setValue(5);
  volume->setTickPosition(QSlider::TicksBelow);
  volume->setGeometry(68, 16 + 4 * 29, 130, 30);
  Label(audio, "100%", 204, 20 + 4 * 29, 40);

  auto* preview = new QFrame(area);
  preview->setProperty("trovenixPreview", true);
  preview->setGeometry(520, 226, 235, 172);
  auto* picture = new QLabel(QStringLiteral("(still picture)"), preview);
  picture->setStyleSheet(QStringLiteral("color: #606060; background: transparent; border: none"));
  picture->setAlignment(Qt::AlignCenter);
  picture->setGeometry(1, 1, 233, 112);
  Button(preview, "Play", 6, 116, 70);
  Button(preview, "Pause", 82, 116, 70);
  Button(preview, "Stop", 158, 116, 70);
  auto* volumeButton = Button(preview, "Adjust Volume", 6, 144, 110);
  auto* volumeMenu = new QMenu(volumeButton);
  for (const char* item : {"Full Volume", "Half Volume", "Mute"}) volumeMenu->addAction(item);
  volumeButton->setMenu(volumeMenu);
  Button(preview, "Snapshot", 122, 144, 106);

  auto* progress = new QProgressBar(area);
  progress->setGeometry(8, 406, 747, 18);
  progress->setValue(42);

  auto* disabled = new QComboBox(area);
  disabled->addItem(QStringLiteral("Disabled list (batch running)"));
  disabled->setGeometry(8, 432, 250, 22);
  disabled->setEnabled(false);
  auto* disabledButton = Button(area, "Disabled button", 264, 431, 120);
  disabledButton->setEnabled(false);
  auto* hover = Button(area, "Focused button", 390, 431, 120);
  hover->setFocus();

  auto* ready = new QLabel(QStringLiteral("Ready"));
  ready->setFixedWidth(150);
  auto* size = new QLabel(QStringLiteral("Output Size : 12.4 MB"));
  size->setFixedWidth(300);
  auto* third = new QLabel;
  third->setFixedWidth(50);
  window->statusBar()->addWidget(ready);
  window->statusBar()->addWidget(size);
  window->statusBar()->addWidget(third);
  window->statusBar()->setSizeGripEnabled(false);
  return window;
}

QDialog* OptionsLookAlike() {
  auto* dialog = new QDialog;
  dialog->setWindowTitle(QStringLiteral("Additional Options"));
  dialog->setFixedSize(330, 130);
  auto* group = new QGroupBox(QStringLiteral(" Additional Options "), dialog);
  group->setGeometry(8, 8, 314, 84);
  auto* overwrite =
      new QCheckBox(QStringLiteral("Overwrite Existing File With The Same Name"), group);
  overwrite->setGeometry(10, 20, 296, 22);
  overwrite->setChecked(true);
  auto* items = new QSpinBox(group);
  items->setRange(20, 60);
  items->setValue(24);
  items->setGeometry(10, 50, 56, 22);
  auto* label = new QLabel(QStringLiteral(" Drop Down Items in Output Format List"), group);
  label->setGeometry(70, 50, 240, 22);
  Button(dialog, "Done", 247, 98, 75);
  return dialog;
}

QImage Shot(QWidget& widget) {
  widget.show();
  QCoreApplication::processEvents();
  return widget.grab().toImage();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output folder> [skin ...]\n", argv[0]);
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(out);
  TSkinManager skins;
  std::vector<std::string> names;
  for (int i = 2; i < argc; ++i) names.emplace_back(argv[i]);
  if (names.empty()) names = skins.SkinNames();

  for (const std::string& name : names) {
    if (!skins.SetSkin(name)) {
      std::fprintf(stderr, "unknown skin: %s\n", name.c_str());
      continue;
    }
    QMainWindow* window = MainWindowLookAlike();
    const QImage main = Shot(*window);

    // An open menu and an open list, drawn as they would drop down.
    QMenu file;
    file.addAction(QStringLiteral("Add Files"));
    file.addSeparator();
    file.addAction(QStringLiteral("Convert"));
    file.addSeparator();
    file.addAction(QStringLiteral("Exit"))->setEnabled(false);
    file.ensurePolished();
    file.adjustSize();
    file.setActiveAction(file.actions().first());
    const QImage menu = file.grab().toImage();
    QComboBox formats;
    formats.addItems({"iPod (*.mp4)", "iPod Touch (*.mp4)", "MP3 - Mpeg Layer3 Audio (*.mp3)",
                      "MPEG-2 Movie (*.mpg)", "WMA - Windows Media Audio (*.wma)"});
    formats.setFixedSize(262, 22);
    formats.show();
    formats.setCurrentIndex(2);
    formats.showPopup();
    QCoreApplication::processEvents();
    formats.view()->setCurrentIndex(formats.model()->index(3, 0));
    QCoreApplication::processEvents();
    const QImage popup = formats.view()->window()->grab().toImage();
    formats.hidePopup();

    QDialog* options = OptionsLookAlike();
    const QImage optionsShot = Shot(*options);
    // Both belong to the window, which deletes them.
    auto* about = new trovenix::TFormAbout(window);
    const QImage aboutShot = Shot(*about);
    auto* chooser = new trovenix::TFormSkin(skins, window);
    chooser->show();
    {
      const QSignalBlocker quiet(chooser->SkinList());
      chooser->SkinList()->setCurrentRow(2);
    }
    QCoreApplication::processEvents();
    const QImage chooserShot = chooser->grab().toImage();

    const int width =
        main.width() + 20 + std::max({menu.width(), popup.width(), chooserShot.width()}) + 10;
    const int height =
        std::max(main.height() + 20 + std::max(optionsShot.height(), aboutShot.height()),
                 menu.height() + popup.height() + chooserShot.height() + 40) +
        10;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(0x80, 0x80, 0x80));
    QPainter painter(&sheet);
    painter.drawImage(0, 0, main);
    const int right = main.width() + 20;
    painter.drawImage(right, 0, menu);
    painter.drawImage(right, menu.height() + 20, popup);
    painter.drawImage(right, menu.height() + popup.height() + 40, chooserShot);
    painter.drawImage(0, main.height() + 20, optionsShot);
    painter.drawImage(optionsShot.width() + 20, main.height() + 20, aboutShot);
    painter.end();

    QString file_name = QString::fromStdString(name);
    file_name.remove(QStringLiteral(" (internal)")).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString path = QDir(out).filePath(file_name + QStringLiteral(".png"));
    sheet.save(path);
    std::printf("%s\n", path.toLocal8Bit().constData());
    delete options;
    delete window;
  }
  return 0;
}
