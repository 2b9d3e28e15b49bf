// The program manager and the program files in the main window: what it
// refuses without a link, its locks, program names, the four file actions
// and their messages, and programs kept by the device and by files. Every
// case runs for both models, each with the window, the files and the
// simulated device of its model.

#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "MainWindowFixture.h"
#include "SaveDialogDriver.h"
#include "ScriptedChooser.h"
#include "link/Command.h"
#include "model/Language.h"
#include "model/NameField.h"
#include "model/ParameterImage.h"
#include "model/ProductVariant.h"
#include "model/ProgramFile.h"
#include "support/FileSizeLimit.h"
#include "support/QueuedFrames.h"
#include "support/RecordingNotifier.h"
#include "ui/SimProcess.h"
#include "ui/common/MessageBoxes.h"
#include "ui/common/SaveFileDialog.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/OrvaneApp.h"
#include "ui/main/TopBar.h"
#include "ui/main/WindowParts.h"
#include "ui/programs/DialogFileChooser.h"
#include "ui/programs/ProgramDlg.h"
#include "ui/programs/ProgramFileActions.h"

namespace orvane::ui {

namespace {

// The model of the case running.
const ProductVariant& variant() {
  QFETCH_GLOBAL(int, model);
  return ProductVariant::forModel(model);
}
QString oneExtension() {
  return extensionOf(ProgramFileKind::OneProgram, variant());
}
QString setExtension() {
  return extensionOf(ProgramFileKind::AllPrograms, variant());
}

}  // namespace

class ProgramsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }
  QStringList paths_;
  QStringList messages_;
  // Each case writes into a folder of its own.
  std::unique_ptr<QTemporaryDir> dir_;

  QString file(const QString& name) const { return dir_->filePath(name); }
  // A file of the right name that holds no program.
  bool writeJunk(const QString& name) const {
    QFile junk(file(name));
    return junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(1000, 'x')) == 1000;
  }
  QString currentName() const {
    return QString::fromStdString(
        NameField::FieldToText(image_->read([](const ImageData& d) { return d.currentProgramName; })));
  }
  std::unique_ptr<ProgramDlg> dialog() {
    auto dlg = std::make_unique<ProgramDlg>(
        parts().session(), [](ProgramDlg::PcAction) {}, window_.get());
    dlg->show();
    return dlg;
  }
  // Opens the program manager from its button (once the window takes input
  // again after a transfer) and lets `act` work in it.
  void inManager(const std::function<void(ProgramDlg*)>& act) {
    QVERIFY(QTest::qWaitFor([this] { return window_->isEnabled(); }, 10000));
    QMetaObject::Connection c =
        connect(window_.get(), &OrvaneDlg::programDialogOpened, this, [&](ProgramDlg* d) {
          QTimer::singleShot(0, d, [&, d] {
            act(d);
            // An action that did not close it has failed: the test goes on.
            if (d->isVisible()) d->reject();
          });
        });
    parts().topBar()->findChild<QPushButton*>("programs")->click();
    disconnect(c);
  }
  void name(ProgramDlg* d, int program, const QString& text) {
    d->grid()->setCurrentCell(program - 1, 2);
    d->grid()->item(program - 1, 2)->setText(text);
  }
  // A transfer's popup came and went, and the window takes input again.
  void waitForTransfer() {
    QTRY_VERIFY_WITH_TIMEOUT(parts().transferPopup()->isVisible(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!parts().transferPopup()->isVisible() && window_->isEnabled(), 30000);
  }
  void pcAction(ProgramDlg::PcAction action) {
    inManager([action](ProgramDlg* d) {
      d->pcRadio(action)->click();
      d->okButton()->click();
    });
  }

 private slots:
  void initTestCase_data() {
    QTest::addColumn<int>("model");
    QTest::newRow("7304") << 7304;
    QTest::newRow("736") << 736;
  }
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    image_ = std::make_unique<ParameterImage>();
    window_ = MainWindowFixture::open(*image_, variant());
    QVERIFY(window_);
    parts().setFileChooser(std::make_unique<ScriptedChooser>(&paths_, variant()));
    messages_.clear();
    MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; });
  }
  void cleanup() {
    MessageBoxes::setSink({});
    window_.reset();
    image_.reset();
    Language::setFlag(0);
  }

  // Without a link the device actions are refused; names that do not fit
  // sixteen bytes are refused; the three program locks.
  void theManagerOffline() {
    Language::setFlag(1);
    image_->modify([](ImageData& d) { NameField::TextToField("Lobby", recordName(d.programs[6])); });
    auto d = dialog();
    QCOMPARE(d->grid()->item(6, 2)->text(), QStringLiteral("Lobby"));
    QCOMPARE(d->grid()->item(29, 0)->text(), QStringLiteral("Program30"));
    QCOMPARE(d->actionButton()->text(), QStringLiteral("Save"));
    d->actionButton()->click();
    d->deleteButton()->click();
    QCOMPARE(messages_, QStringList({"Please open the Link", "Please open the Link"}));
    name(d.get(), 3, QStringLiteral("ABCDEFGHIJKLMNOPQ"));
    name(d.get(), 4, QStringLiteral("会议室会议室会议室"));
    name(d.get(), 5, QStringLiteral("会议室会议室会议"));
    QCOMPARE(messages_.size(), 4);
    QCOMPARE(d->grid()->item(2, 2)->text(), QString());
    QCOMPARE(d->grid()->item(4, 2)->text(), QStringLiteral("会议室会议室会议"));
    d->deviceRadio(ProgramDlg::LoadFromDevice)->click();
    QCOMPARE(d->actionButton()->text(), QStringLiteral("Load"));
    QVERIFY(!(d->grid()->item(0, 2)->flags() & Qt::ItemIsEditable));

    struct Case {
      std::vector<int> flags;
      bool loadRadio, saveRadio, loadAll, ok, erase;
      ProgramDlg::PcAction chosen;
    };
    const std::vector<Case> cases{
        {{LockFlag::LoadProgram}, false, true, false, true, true, ProgramDlg::SaveOne},
        {{LockFlag::SaveProgram}, true, false, false, true, true, ProgramDlg::LoadOne},
        {{LockFlag::LoadProgram, LockFlag::SaveProgram},
         false,
         false,
         false,
         false,
         true,
         ProgramDlg::SaveOne},
        {{LockFlag::DeleteProgram}, true, true, true, true, false, ProgramDlg::SaveOne},
    };
    for (const Case& c : cases) {
      image_->modify([&](ImageData& data) {
        data.locks.clear();
        for (int flag : c.flags) data.locks.setLocked(flag, true);
      });
      auto locked = dialog();
      QCOMPARE(locked->deviceRadio(ProgramDlg::LoadFromDevice)->isEnabled(), c.loadRadio);
      QCOMPARE(locked->deviceRadio(ProgramDlg::SaveToDevice)->isEnabled(), c.saveRadio);
      QCOMPARE(locked->pcRadio(ProgramDlg::LoadAll)->isEnabled(), c.loadAll);
      QCOMPARE(locked->okButton()->isEnabled(), c.ok);
      QCOMPARE(locked->deleteButton()->isEnabled(), c.erase);
      QVERIFY(locked->pcRadio(c.chosen)->isChecked());
    }
  }

  // One program to a file and back, offline; the messages of files that
  // cannot be read, are not program files or cannot be written.
  void oneProgramFilesOffline() {
    Language::setFlag(1);
    image_->setField(Side::Input, 2, InputField::Gain, 123);
    paths_ = {file("ConferenceRoomA")};
    pcAction(ProgramDlg::SaveOne);
    QVERIFY(QFileInfo::exists(file("ConferenceRoomA" + oneExtension())));
    QCOMPARE(currentName(), QStringLiteral("Conferenc"));
    QCOMPARE(parts().statusText(1), QStringLiteral("PC"));

    image_->setField(Side::Input, 2, InputField::Gain, 300);
    paths_ = {file("ConferenceRoomA" + oneExtension())};
    pcAction(ProgramDlg::LoadOne);
    QCOMPARE(image_->field(Side::Input, 2, InputField::Gain), 123);
    QVERIFY(parts().command().queue().isEmpty());

    // A folder and a file named in Chinese reach the very file chosen.
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("会议室")));
    const QString chinese = file(QStringLiteral("会议室/大厅") + oneExtension());
    paths_ = {chinese};
    pcAction(ProgramDlg::SaveOne);
    QVERIFY(QFileInfo::exists(chinese));
    image_->setField(Side::Input, 2, InputField::Gain, 300);
    paths_ = {chinese};
    pcAction(ProgramDlg::LoadOne);
    QCOMPARE(image_->field(Side::Input, 2, InputField::Gain), 123);

    QVERIFY(writeJunk("junk" + oneExtension()));
    image_->setField(Side::Input, 2, InputField::Gain, 200);
    paths_ = {file("junk" + oneExtension()), file("missing" + oneExtension()), file("no/such/folder/x")};
    pcAction(ProgramDlg::LoadOne);
    pcAction(ProgramDlg::LoadOne);
    pcAction(ProgramDlg::SaveOne);
    QCOMPARE(messages_, QStringList({"MusicFile read Error", "File read Error", "MusicFile Write Error"}));
    QCOMPARE(image_->field(Side::Input, 2, InputField::Gain), 200);
    // Loading all programs needs a link: no path is even asked for.
    paths_ = {file("ConferenceRoomA" + oneExtension())};
    pcAction(ProgramDlg::LoadAll);
    QCOMPARE(paths_.size(), 1);
  }

  // The name a save dialog gives becomes the path written: the extension is
  // appended unless the file's name holds it somewhere; a folder's name
  // does not count.
  void theFinalPathOfAChosenName() {
    const struct {
      QString chosen, extension, path;
    } cases[] = {
        {"/m/Hall", ".dia1j", "/m/Hall.dia1j"},
        {"/m/Hall.dia1j", ".dia1j", "/m/Hall.dia1j"},
        {"/m/Hall.dia1j.bak", ".dia1j", "/m/Hall.dia1j.bak"},
        {"/m/Hall.dia1", ".dia1j", "/m/Hall.dia1.dia1j"},
        {"/m/shows.dia1j/Hall", ".dia1j", "/m/shows.dia1j/Hall.dia1j"},
        {"/m/venue", ".dat1j", "/m/venue.dat1j"},
        {"/m/venue.dia1j", ".dat1j", "/m/venue.dia1j.dat1j"},
        {"/m/Hall", ".dia1s", "/m/Hall.dia1s"},
        {"/m/20240102030405", ".xlsx", "/m/20240102030405.xlsx"},
        {"/m/report.xls", ".xlsx", "/m/report.xls.xlsx"},
        {QStringLiteral("/m/会议室/大厅"), ".dia1j", QStringLiteral("/m/会议室/大厅.dia1j")},
        {"", ".dia1j", ""},  // cancelled
    };
    for (const auto& c : cases) QCOMPARE(SaveFileDialog::finalPath(c.chosen, c.extension), c.path);
  }

  // The save dialog: a typed name gets its extension before the question
  // about replacing a file is asked, so typing Hall where Hall.dia1j exists
  // asks; "No" shows the dialog again (cancelled here) and keeps the file,
  // "Yes" replaces it. A name that holds the extension is kept as typed.
  void savingAsksBeforeReplacingTheFileItWillWrite() {
    Language::setFlag(1);
    DialogFileChooser chooser(window_.get(), variant());
    ProgramFileActions actions(parts().session(), chooser, window_.get());
    QFile earlier(file("Hall" + oneExtension()));
    QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
    earlier.close();
    const QString question = "Hall" + oneExtension() + " already exists.\nDo you want to replace it?";
    struct Case {
      QString typed;
      bool answer;
      QStringList questions;
      int dialogs;
      bool saved;
      QString written;
    };
    const std::vector<Case> cases{
        {"Hall", false, {question}, 2, false, QString()},
        {"Hall", true, {question}, 1, true, "Hall" + oneExtension()},
        {"Hall" + oneExtension() + ".bak", false, {}, 1, true, "Hall" + oneExtension() + ".bak"},
    };
    for (const Case& c : cases) {
      messages_.clear();
      MessageBoxes::setSink([this](const QString&, const QString& text) { messages_ << text; }, c.answer);
      const SaveDialogDriver driver(dir_->path(), {c.typed});
      QCOMPARE(actions.saveOne(), c.saved);
      QCOMPARE(messages_, c.questions);
      QCOMPARE(driver.shown(), c.dialogs);
      if (c.saved) QCOMPARE(QFileInfo(file(c.written)).size(), 1933 - (oneExtension() == ".dia1s"));
    }
    QVERIFY(QFileInfo::exists(file("Hall" + oneExtension())));
    QVERIFY(!QFileInfo::exists(file("Hall")));
  }

  // A disk that fills up while a program file is written: the file that
  // was there keeps its bytes and the message says it was kept.
  void aFileThatCannotBeWrittenKeepsTheEarlierOne() {
    ScriptedChooser chooser(&paths_, variant());
    ProgramFileActions actions(parts().session(), chooser, window_.get());
    struct Case {
      QString name;
      bool all;
      int language;
      QString message;
    };
    const std::vector<Case> cases{
        {"kept" + oneExtension(), false, 1,
         "MusicFile Write Error\nThe file that was there is kept unchanged."},
        {"kept" + setExtension(), true, 1,
         "MusicFile Write Error\nThe file that was there is kept unchanged."},
        {"kept" + oneExtension(), false, 0, QStringLiteral("MusicFile Write Error\n原有的文件保持不变。")},
    };
    for (const Case& c : cases) {
      Language::setFlag(c.language);
      QFile earlier(file(c.name));
      QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier") == 7);
      earlier.close();
      messages_.clear();
      paths_ = {file(c.name)};
      {
        const FileSizeLimit fullDisk(1000);
        QVERIFY(!(c.all ? actions.saveAll() : actions.saveOne()));
      }
      QCOMPARE(messages_, QStringList{c.message});
      QVERIFY(earlier.open(QIODevice::ReadOnly));
      QCOMPARE(earlier.readAll(), QByteArray("earlier"));
    }
    QCOMPARE(QDir(dir_->path()).entryList({"*kept*"}, QDir::Files | QDir::Hidden),
             QStringList({"kept" + setExtension(), "kept" + oneExtension()}));
  }

  // A program file named on the command line opens before any link as the
  // program manager opens it: one program into the working state, all
  // programs into the program list; a file that is no program file, or is
  // missing, brings the manager's message and changes nothing.
  void programFileOnTheCommandLine() {
    Language::setFlag(1);
    const int model = variant().modelCode;
    image_->setField(Side::Input, 2, InputField::Gain, 123);
    image_->modify([](ImageData& d) { NameField::TextToField("Lobby", recordName(d.programs[6])); });
    QVERIFY(ProgramFile::writeBytes(file("Lecture" + oneExtension()).toStdString(),
                                    ProgramFile::writeOne(*image_, model)));
    QVERIFY(ProgramFile::writeBytes(file("backup" + setExtension()).toStdString(),
                                    ProgramFile::writeAll(*image_, model)));
    QVERIFY(writeJunk("junk" + oneExtension()) && writeJunk("junk" + setExtension()));
    image_->setField(Side::Input, 2, InputField::Gain, 200);
    image_->modify([](ImageData& d) { d.programs = {}; });

    struct Case {
      QString name, message;
      int gain;
      std::string program7;
    };
    const std::vector<Case> cases{
        {"junk" + oneExtension(), "MusicFile read Error", 200, ""},
        {"missing" + oneExtension(), "File read Error", 200, ""},
        {"junk" + setExtension(), "MusicFile read Error", 200, ""},
        {"backup" + setExtension(), "", 200, "Lobby"},
        {"Lecture" + oneExtension(), "", 123, "Lobby"},
    };
    for (const Case& c : cases) {
      messages_.clear();
      const auto options = OrvaneApp::parse({"orvane", file(c.name)});
      QVERIFY(std::holds_alternative<StartOptions>(options));
      OrvaneApp::start(*window_, std::get<StartOptions>(options));
      QCoreApplication::processEvents();
      QCOMPARE(messages_, c.message.isEmpty() ? QStringList() : QStringList{c.message});
      QCOMPARE(image_->field(Side::Input, 2, InputField::Gain), c.gain);
      QCOMPARE(
          image_->read([](const ImageData& d) { return NameField::FieldToText(recordName(d.programs[6])); }),
          c.program7);
    }
    QCOMPARE(currentName(), QStringLiteral("Lecture"));
    QCOMPARE(parts().statusText(1), QStringLiteral("PC"));
    QVERIFY(parts().command().queue().isEmpty());
    QVERIFY(std::holds_alternative<QString>(OrvaneApp::parse({"orvane", "a" + oneExtension(), "b"})));
    // --model chooses the window's model; any other value is refused by name.
    const auto chosen = OrvaneApp::parse({"orvane", "--model", QString::number(model)});
    QCOMPARE(std::get<StartOptions>(chosen).variant.modelCode, model);
    const auto refused = OrvaneApp::parse({"orvane", "--model", "7"});
    QCOMPARE(std::get<QString>(refused), QStringLiteral("--model takes 7304 or 736, not '7'"));
  }

  // With a link (the command's worker is not running, so frames wait in its
  // queue): Delete empties the name everywhere, tells the device and keeps
  // the dialog open; a blank name is refused; the data locks keep a store
  // from running.
  void theManagerWithALink() {
    Language::setFlag(1);
    RecordingNotifier notifier;
    editor::EditorSession session(
        *image_, {.timings = {}, .transports = [](Command&, ParameterImage&) {}, .notifier = &notifier});
    Command& command = session.command();
    image_->modify([](ImageData& d) {
      d.connection.linkType = LinkType::Network;
      NameField::TextToField("Lobby", recordName(d.programs[2]));
      NameField::TextToField("Lobby", d.currentProgramName);
    });
    const auto open = [&] {
      auto d = std::make_unique<ProgramDlg>(
          session, [](ProgramDlg::PcAction) {}, window_.get());
      d->show();
      return d;
    };
    auto d = open();
    d->grid()->setCurrentCell(2, 2);
    d->deleteButton()->click();
    QVERIFY(d->isVisible());
    QCOMPARE(d->grid()->item(2, 2)->text(), QString());
    QCOMPARE(image_->read(
                 [](const ImageData& data) { return NameField::FieldToText(recordName(data.programs[2])); }),
             std::string());
    QCOMPARE(currentName(), QString());
    auto frames = takeQueuedFrames(command);
    QCOMPARE(frames.size(), 2u);
    QCOMPARE(frames[0].item(), 0);  // the program's name
    QCOMPARE(frames[0].value(), 3);
    QCOMPARE(std::vector<std::uint8_t>(frames[0].payload().begin(), frames[0].payload().end()),
             std::vector<std::uint8_t>(16, 0));
    QCOMPARE(frames[1].cmd(), std::uint8_t{0xA9});    // a program operation:
    QCOMPARE(frames[1].block(), std::uint8_t{0xA2});  // the lock packet of program 3, all zeros
    QCOMPARE(frames[1].value(), 3);
    QCOMPARE(std::vector<std::uint8_t>(frames[1].payload().begin(), frames[1].payload().end()),
             std::vector<std::uint8_t>(12, 0));

    name(d.get(), 4, QStringLiteral("   "));
    d->actionButton()->click();
    QCOMPARE(messages_, QStringList{QStringLiteral("Please enter the name!")});
    QVERIFY(d->isVisible() && takeQueuedFrames(command).empty());

    // No store frame (a channel block written) can come from a locked store.
    const auto stores = [](const std::vector<SendData>& sent) {
      return std::count_if(sent.begin(), sent.end(), [](const SendData& f) {
        return f.cmd() == std::uint8_t{0xA1} && (f.block() == 1 || f.block() == 2);
      });
    };
    for (const std::vector<int>& flags : {std::vector<int>{LockFlag::SaveProgram},
                                          std::vector<int>{LockFlag::SaveProgram, LockFlag::LoadProgram}}) {
      image_->modify([&](ImageData& data) {
        for (int flag : flags) data.locks.setLocked(flag, true);
      });
      auto locked = open();
      name(locked.get(), 6, QStringLiteral("Stage"));
      locked->actionButton()->click();
      locked->okButton()->click();
      QCOMPARE(stores(takeQueuedFrames(command)), 0);
    }
  }

  // A program stored in the device under a name comes back on recall; all
  // programs saved to a file and loaded into a fresh device are that
  // device's programs, byte for byte.
  void programsInTheDeviceAndInFiles() {
    auto sim = std::make_unique<SimProcess>(QStringList{"--model", QString::number(variant().modelCode)});
    QVERIFY(MainWindowFixture::connectAndRead(*window_, *sim));
    image_->setField(Side::Output, 5, OutputField::Delay, 777);
    inManager([this](ProgramDlg* d) {
      name(d, 5, QStringLiteral(" Stage "));
      d->actionButton()->click();
    });
    waitForTransfer();
    QCOMPARE(parts().statusText(1), QStringLiteral("5"));
    // A file saved from the manager names the working state: "PC" until a
    // program is recalled or stored again.
    paths_ = {file("stage")};
    pcAction(ProgramDlg::SaveOne);
    QCOMPARE(parts().statusText(1), QStringLiteral("PC"));
    image_->setField(Side::Output, 5, OutputField::Delay, 10);
    image_->modify([](ImageData& d) { d.currentProgramName.fill(0); });
    inManager([](ProgramDlg* d) {
      d->deviceRadio(ProgramDlg::LoadFromDevice)->click();
      d->grid()->setCurrentCell(4, 2);
      d->actionButton()->click();
    });
    waitForTransfer();
    QCOMPARE(parts().statusText(1), QStringLiteral("5"));
    QCOMPARE(image_->field(Side::Output, 5, OutputField::Delay), 777);
    QCOMPARE(currentName(), QStringLiteral("Stage"));
    QTRY_COMPARE_WITH_TIMEOUT(parts().statusText(0), QStringLiteral("Stage"), 5000);

    paths_ = {file("venue")};
    pcAction(ProgramDlg::SaveAll);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file("venue" + setExtension())), 30000);
    const ProgramStore saved = image_->read([](const ImageData& d) { return d.programs; });
    QCOMPARE(NameField::FieldToText(recordName(saved[4])), std::string("Stage"));
    window_->disconnectLink();

    sim = std::make_unique<SimProcess>(QStringList{"--model", QString::number(variant().modelCode)});
    QVERIFY(MainWindowFixture::connectAndRead(*window_, *sim));
    paths_ = {file("venue" + setExtension())};
    pcAction(ProgramDlg::LoadAll);
    waitForTransfer();
    // Read back from the device as a fresh editor would: names at
    // connection, the rest by saving all programs again.
    window_->disconnectLink();
    image_->modify([](ImageData& d) { d.programs = {}; });
    QVERIFY(MainWindowFixture::connectAndRead(*window_, *sim));
    paths_ = {file("again")};
    pcAction(ProgramDlg::SaveAll);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file("again" + setExtension())), 30000);
    QVERIFY(image_->read([](const ImageData& d) { return d.programs; }) == saved);
    window_->disconnectLink();
  }

  void screenshots() {
    image_->modify([](ImageData& d) {
      NameField::TextToField("Main hall", recordName(d.programs[0]));
      NameField::TextToField("会议室", recordName(d.programs[1]));
    });
    const QString dir = QCoreApplication::applicationDirPath();
    for (int language : {0, 1}) {
      Language::setFlag(language);
      auto d = dialog();
      QVERIFY(QTest::qWaitForWindowExposed(d.get()));
      QVERIFY(d->grab().save(dir + QStringLiteral("/programs-%1.png").arg(language ? "en" : "zh")));
    }
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::ProgramsTest)
#include "ProgramsTest.moc"
