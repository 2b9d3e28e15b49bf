// Locks in the main window: the password dialogs and where each press
// leads, the password fields, the lock dialog, the warning windows, what
// locks do to the window, and locks kept by the device across a reconnect.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QtTest>
#include <deque>

#include "MainWindowFixture.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "ui/SimProcess.h"
#include "ui/graphs/CFStatic.h"
#include "ui/locks/LockDataDlg.h"
#include "ui/locks/PassWordEdit.h"
#include "ui/locks/PasswordStepDlg.h"
#include "ui/locks/Set_Warn_Dlg.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/TopBar.h"
#include "ui/main/WindowParts.h"
#include "ui/pages/EqBandColumn.h"
#include "ui/pages/EqSection.h"
#include "ui/pages/InDataDlg.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

namespace {

using Step = PasswordStep;
using Button = PasswordButton;

// What the user does in one password dialog.
struct Action {
  Step expected;
  QStringList typed;
  Button press;
};

}  // namespace

class LocksTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }
  std::deque<Action> actions_;
  QList<Step> seen_;
  std::function<void(LockDataDlg*)> chooseLocks_;

  std::string password() const {
    return image_->read([](const ImageData& d) { return d.locks.password; });
  }
  bool locked(int flag) const {
    return image_->read([flag](const ImageData& d) { return d.locks.isLocked(flag); });
  }
  // Presses the lock button and plays `actions`; `choose` ticks boxes in
  // the lock dialog before OK.
  void runLockButton(std::deque<Action> actions, std::function<void(LockDataDlg*)> choose = {}) {
    actions_ = std::move(actions);
    seen_.clear();
    chooseLocks_ = std::move(choose);
    parts().topBar()->findChild<QPushButton*>("lock")->click();
  }
  // The text of the modal window `open` brings up, which is then closed.
  QString modalText(const std::function<void()>& open) {
    QString text;
    QTimer::singleShot(0, this, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal) return;
      for (const QLabel* label : modal->findChildren<QLabel*>()) text += label->text();
      static_cast<QDialog*>(modal)->reject();
    });
    open();
    return text;
  }

 private slots:
  void init() {
    image_ = std::make_unique<ParameterImage>();
    window_ = MainWindowFixture::open(*image_);
    QVERIFY(window_);
    connect(window_.get(), &OrvaneDlg::lockStepOpened, this, [this](PasswordStepDlg* dialog) {
      seen_ << dialog->step();
      if (actions_.empty()) return;
      const Action action = actions_.front();
      actions_.pop_front();
      QTimer::singleShot(0, dialog, [dialog, action] {
        for (int i = 0; i < action.typed.size(); ++i)
          QTest::keyClicks(dialog->fields().at(i), action.typed[i]);
        if (action.press == Button::Exit)
          dialog->reject();
        else
          dialog->button(action.press)->click();
      });
    });
    connect(window_.get(), &OrvaneDlg::lockDialogOpened, this, [this](LockDataDlg* dialog) {
      QTimer::singleShot(0, dialog, [this, dialog] {
        if (chooseLocks_) chooseLocks_(dialog);
        dialog->accept();
      });
    });
  }
  void cleanup() {
    window_.reset();
    image_.reset();
    Language::setFlag(0);
  }

  // Where each press leads, and what it does to the password.
  void everyPasswordTransition() {
    using To = PasswordMove::To;
    struct Case {
      Step step;
      Button button;
      std::vector<std::string> entries;
      To to;
      Step next;
      std::optional<std::string> stored;
    };
    const std::string pw = "Abc123";
    const std::vector<Case> cases{
        {Step::NoPWLockDlg, Button::NoPassword, {}, To::LockSelection, Step::NoPWLockDlg, {}},
        {Step::NoPWLockDlg, Button::PasswordSetup, {}, To::Step, Step::SetPWDlg, {}},
        {Step::SetPWDlg, Button::Ok, {"Xy9876", "Xy9876"}, To::LockSelection, Step::SetPWDlg, "Xy9876"},
        {Step::SetPWDlg, Button::Ok, {"Xy9876", "xy9876"}, To::Step, Step::SetPWErrorDlg, {}},
        {Step::SetPWDlg, Button::Ok, {"Xy987", "Xy987"}, To::Step, Step::SetPWErrorDlg, {}},
        {Step::SetPWDlg, Button::Back, {}, To::Step, Step::NoPWLockDlg, {}},
        {Step::SetPWErrorDlg, Button::Reset, {}, To::Step, Step::SetPWDlg, {}},
        {Step::InPutPWDlg, Button::Ok, {pw}, To::Step, Step::MDLockDlg, {}},
        {Step::InPutPWDlg, Button::Ok, {"abc123"}, To::Step, Step::InputPWErrorDlg, {}},
        {Step::InPutPWDlg, Button::Ok, {""}, To::Step, Step::InputPWErrorDlg, {}},
        {Step::InputPWErrorDlg, Button::Reset, {}, To::Step, Step::InPutPWDlg, {}},
        {Step::MDLockDlg, Button::ChangeLockedItem, {}, To::LockSelection, Step::NoPWLockDlg, {}},
        {Step::MDLockDlg, Button::ChangePassword, {}, To::Step, Step::MDPWDlg, {}},
        {Step::MDLockDlg, Button::UnlockPassword, {}, To::Step, Step::ClearPWDlg, {}},
        {Step::MDPWDlg, Button::Ok, {"New456", "New456"}, To::Step, Step::MDOKDlg, "New456"},
        {Step::MDPWDlg, Button::Ok, {"New456", "New457"}, To::Step, Step::MDPWErrorDlg, {}},
        {Step::MDPWDlg, Button::Back, {}, To::Step, Step::MDLockDlg, {}},
        {Step::MDPWErrorDlg, Button::Reset, {}, To::Step, Step::MDPWDlg, {}},
        {Step::MDOKDlg, Button::ChangeLockedItem, {}, To::LockSelection, Step::NoPWLockDlg, {}},
        {Step::ClearPWDlg, Button::Yes, {}, To::Step, Step::ClearPWOKDlg, ""},
        {Step::ClearPWDlg, Button::No, {}, To::Step, Step::MDLockDlg, {}},
        {Step::ClearPWOKDlg, Button::ChangeLockedItem, {}, To::LockSelection, Step::NoPWLockDlg, {}},
        {Step::MDLockDlg, Button::Exit, {}, To::MainWindow, Step::NoPWLockDlg, {}},
    };
    for (const Case& c : cases) {
      const PasswordMove move = PasswordFlow::press(c.step, c.button, c.entries, pw);
      QCOMPARE(move.to, c.to);
      if (c.to == To::Step) QCOMPARE(move.step, c.next);
      QCOMPARE(move.newPassword, c.stored);
    }
    QCOMPARE(PasswordFlow::first(""), Step::NoPWLockDlg);
    QCOMPARE(PasswordFlow::first(pw), Step::InPutPWDlg);
  }

  void passwordFieldsTakeSixLettersOrDigits() {
    // The field with its drop handler in reach, as a drag would reach it.
    struct DropTarget : PassWordEdit {
      using PassWordEdit::dropEvent;
    } field;
    QTest::keyClicks(&field, "a-b c!9XYZ12");
    QCOMPARE(field.text(), QStringLiteral("abc9XY"));
    QCOMPARE(field.echoMode(), QLineEdit::Password);
    field.clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("p.q r:1"));
    QTest::keySequence(&field, QKeySequence::Paste);
    QCOMPARE(field.text(), QStringLiteral("pqr1"));
    // A drop and the selection's paste (an insert) pass the same filter.
    const auto drop = [&field](const QString& text) {
      QMimeData mime;
      mime.setText(text);
      QDropEvent event(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      field.dropEvent(&event);
    };
    field.clear();
    drop(QStringLiteral("ab c!"));
    field.insert(QStringLiteral("x.y"));
    QCOMPARE(field.text(), QString());
    drop(QStringLiteral("ab"));
    QCOMPARE(field.text(), QStringLiteral("ab"));
    field.end(false);
    field.insert(QStringLiteral("7"));
    QCOMPARE(field.text(), QStringLiteral("ab7"));
  }

  // Enter in the step that removes the password answers No.
  void enterKeepsThePassword() {
    PasswordStepDlg dialog(Step::ClearPWDlg);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), int{QDialog::Accepted});
    QCOMPARE(dialog.pressed(), Button::No);
  }

  // Without a link: a password set up, locks chosen, the wrong case
  // refused, the password removed; nothing is queued for a device.
  void theLockButtonWithoutALink() {
    runLockButton({{Step::NoPWLockDlg, {}, Button::PasswordSetup},
                   {Step::SetPWDlg, {"Abc123", "Abc124"}, Button::Ok},
                   {Step::SetPWErrorDlg, {}, Button::Reset},
                   {Step::SetPWDlg, {"Abc123", "Abc123"}, Button::Ok}},
                  [](LockDataDlg* dialog) {
                    dialog->box(LockFlag::InputEq)->click();
                    dialog->box(LockFlag::InputGain)->click();
                  });
    QCOMPARE(password(), std::string("Abc123"));
    QVERIFY(locked(LockFlag::InputEq) && locked(LockFlag::InputGain) && !locked(LockFlag::OutputEq));
    QVERIFY(parts().command().queue().isEmpty());
    QVERIFY(!parts().inputPage()->eq()->bypass()->isVisible());
    QVERIFY(parts().inputStrip(3)->gainField()->isLocked());

    runLockButton({{Step::InPutPWDlg, {"aBC123"}, Button::Ok},
                   {Step::InputPWErrorDlg, {}, Button::Reset},
                   {Step::InPutPWDlg, {"Abc123"}, Button::Ok},
                   {Step::MDLockDlg, {}, Button::UnlockPassword},
                   {Step::ClearPWDlg, {}, Button::Yes},
                   {Step::ClearPWOKDlg, {}, Button::Exit}});
    QCOMPARE(seen_.size(), 6);
    QCOMPARE(password(), std::string());
    runLockButton({{Step::NoPWLockDlg, {}, Button::Exit}});
    QCOMPARE(seen_, QList<Step>{Step::NoPWLockDlg});
    QVERIFY(locked(LockFlag::InputEq));
  }

  // A lock that came with the device's data is checked and cannot be
  // cleared; the dialog in both languages.
  void theLockDialog() {
    image_->modify([](ImageData& d) {
      d.locks.setLocked(LockFlag::InputEq, true);
      d.locks.deviceLock[LockFlag::InputEq] = 1;
      d.locks.setLocked(LockFlag::SaveProgram, true);
    });
    const QString dir = QCoreApplication::applicationDirPath();
    for (int language : {0, 1}) {
      Language::setFlag(language);
      LockDataDlg dialog(image_->read([](const ImageData& d) { return d.locks; }), window_.get());
      dialog.show();
      QVERIFY(QTest::qWaitForWindowExposed(&dialog));
      QCheckBox* eq = dialog.box(LockFlag::InputEq);
      QVERIFY(eq->isChecked() && !eq->isEnabled());
      QVERIFY(dialog.box(LockFlag::SaveProgram)->isChecked());
      QCOMPARE(dialog.box(LockFlag::Priority), nullptr);
      dialog.selectAllBox(LockGroup::Output)->click();
      QVERIFY(dialog.box(LockFlag::OutputLink)->isChecked());
      QVERIFY(dialog.selectAllBox(LockGroup::Output)->isChecked());
      QVERIFY(dialog.grab().save(dir + QStringLiteral("/lock-dialog-%1.png").arg(language ? "en" : "zh")));
      for (int step = 0; step <= static_cast<int>(Step::ClearPWOKDlg); ++step) {
        PasswordStepDlg shown(static_cast<Step>(step), window_.get());
        shown.show();
        QVERIFY(QTest::qWaitForWindowExposed(&shown));
        const QString name = QStringLiteral("/password-step-%1-%2.png").arg(step).arg(language ? "en" : "zh");
        QVERIFY(shown.grab().save(dir + name));
      }
    }
  }

  // Flags 36 and 37 put the warning window in place of their dialogs; the
  // window with several locks set, in both languages.
  void warningsAndTheLockedWindow() {
    image_->modify([](ImageData& d) {
      for (int flag : {LockFlag::DeviceId, LockFlag::Settings, LockFlag::InputLabel, LockFlag::InputLink,
                       LockFlag::OutputGain, LockFlag::Matrix, LockFlag::InputDynamics})
        d.locks.setLocked(flag, true);
    });
    window_->ApplyLocks();
    const QString dir = QCoreApplication::applicationDirPath();
    for (int language : {0, 1}) {
      Language::setFlag(language);
      window_->ApplyLanguage();
      QCOMPARE(modalText([this] { window_->onSetting(); }), Set_Warn_Dlg::text(Set_Warn_Dlg::Topic::Setting));
      QCOMPARE(modalText([this] { parts().topBar()->findChild<QPushButton*>("deviceId")->click(); }),
               Set_Warn_Dlg::text(Set_Warn_Dlg::Topic::Device));
      QVERIFY(
          window_->grab().save(dir + QStringLiteral("/locked-window-%1.png").arg(language ? "en" : "zh")));
    }
    QCOMPARE(Set_Warn_Dlg::text(Set_Warn_Dlg::Topic::Setting),
             QStringLiteral("\"Setting\" function has been locked, please unlock!"));
    QVERIFY(!parts().inputStrip(0)->linkList()->isEnabled());
    QCOMPARE(parts().inputStrip(0)->linkList()->count(), 1);
  }

  // Set with a link, the password and the locks are in the device: read
  // back after a reconnect, the lock button asks for the password and the
  // input EQ is locked on the page and the graph.
  void locksStayInTheDevice() {
    SimProcess sim;
    QVERIFY(MainWindowFixture::connectAndRead(*window_, sim));
    runLockButton(
        {{Step::NoPWLockDlg, {}, Button::PasswordSetup}, {Step::SetPWDlg, {"Zz9Yy8", "Zz9Yy8"}, Button::Ok}},
        [](LockDataDlg* dialog) { dialog->box(LockFlag::InputEq)->click(); });
    QTRY_VERIFY_WITH_TIMEOUT(parts().command().queue().isEmpty(), 5000);
    QTest::qWait(300);
    window_->disconnectLink();
    QCOMPARE(password(), std::string());
    QVERIFY(!locked(LockFlag::InputEq));
    QVERIFY(MainWindowFixture::connectAndRead(*window_, sim));
    QCOMPARE(password(), std::string("Zz9Yy8"));
    QVERIFY(locked(LockFlag::InputEq));
    QVERIFY(parts().inputPage()->eq()->column(2)->gain()->isLocked());
    // The graph takes no drag of a locked band.
    const EqBand before = image_->band(Side::Input, 0, 2);
    const GraphRect marker = parts().graph()->geometry(Side::Input, 0).element(2).marker();
    const QPoint from(marker.centre().x, marker.centre().y);
    QTest::mousePress(parts().graph(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(parts().graph(), from + QPoint(30, -30));
    QTest::mouseRelease(parts().graph(), Qt::LeftButton, Qt::NoModifier, from + QPoint(30, -30));
    QCOMPARE(image_->band(Side::Input, 0, 2), before);
    runLockButton({{Step::InPutPWDlg, {}, Button::Exit}});
    QCOMPARE(seen_, QList<Step>{Step::InPutPWDlg});
    window_->disconnectLink();
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::LocksTest)
#include "LocksTest.moc"
