// The matrix mixer page in the main window: reached by its button, the level
// of each crosspoint with the memo rules, no following by linked inputs, the
// matrix lock, and how it looks at 1366 x 768.

#include <QPushButton>
#include <QtTest>

#include "MainWindowFixture.h"
#include "model/Crosspoints.h"
#include "model/Language.h"
#include "model/ParameterImage.h"
#include "ui/SimProcess.h"
#include "ui/graphs/CFStatic.h"
#include "ui/main/ChannelStrip.h"
#include "ui/main/CrosspointGrid.h"
#include "ui/main/DisplayDlg.h"
#include "ui/main/OrvaneDlg.h"
#include "ui/main/TopBar.h"
#include "ui/main/WindowParts.h"
#include "ui/pages/InMicDlg.h"
#include "ui/pages/MixCell.h"
#include "ui/pages/NumEdit.h"
#include "ui/pages/NumField.h"
#include "ui/widgets/Fader.h"
#include "ui/widgets/ToggleButton.h"

namespace orvane::ui {

class MatrixPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<ParameterImage> image_;
  std::unique_ptr<OrvaneDlg> window_;
  // The window's strips, pages and link machinery.
  WindowParts parts() const { return WindowParts(*window_); }

  MixCell* cell(int a, int t) { return parts().matrixPage()->cell(a, t); }
  int level(int a, int t) { return image_->field(Side::Input, a, InputField::mix(t)); }
  void typeLevel(MixCell* c, const QString& text) {
    c->field()->edit()->selectAll();
    QTest::keyClicks(c->field()->edit(), text);
    c->field()->edit()->commit();
  }

 private slots:
  void init() {
    image_ = std::make_unique<ParameterImage>();
    window_ = MainWindowFixture::open(*image_);
    QVERIFY(window_);
    parts().crosspointGrid()->mixerButton()->click();
  }
  void cleanup() {
    window_.reset();
    image_.reset();
    Language::setFlag(0);
  }

  void theMixerPageTakesThePlaceOfTheMatrixArea() {
    QVERIFY(parts().matrixPage()->isVisible());
    QVERIFY(!parts().crosspointGrid()->isVisible());
    QVERIFY(!parts().graph()->isVisible());
    QCOMPARE(image_->read([](const ImageData& d) { return d.editor.selectedPage; }), Page::Matrix);
    QVERIFY(cell(2, 2)->toggle()->isChecked());
    QVERIFY(!cell(2, 3)->toggle()->isChecked());
    QTest::mouseClick(parts().outputStrip(4)->selectButton(), Qt::LeftButton);
    QVERIFY(!parts().matrixPage()->isVisible());
    QVERIFY(parts().crosspointGrid()->isVisible());
    QVERIFY(parts().graph()->isVisible());
  }

  // 0 switches a crosspoint off and forgets its level (on again is 0 dB);
  // -20 dB switched off and on again is -20 dB; linked inputs do not follow.
  void levelsAndTheirMemo() {
    parts().linkGroups().join(Side::Input, 1, 4);
    typeLevel(cell(1, 6), "-20");
    QCOMPARE(level(1, 6), 80);
    QCOMPARE(cell(1, 6)->fader()->value(), 80);
    QVERIFY(cell(1, 6)->toggle()->isChecked());
    QCOMPARE(level(4, 6), 0);
    QTest::mouseClick(cell(1, 6)->toggle(), Qt::LeftButton);
    QCOMPARE(level(1, 6), 0);
    QCOMPARE(cell(1, 6)->field()->value(), 0);
    QTest::mouseClick(cell(1, 6)->toggle(), Qt::LeftButton);
    QCOMPARE(level(1, 6), 80);

    typeLevel(cell(3, 3), "-60");
    QCOMPARE(level(3, 3), 0);
    QVERIFY(!cell(3, 3)->toggle()->isChecked());
    QTest::mouseClick(cell(3, 3)->toggle(), Qt::LeftButton);
    QCOMPARE(level(3, 3), 120);
    // The crosspoint buttons show the levels set here once the page is left.
    window_->SelectPage(Page::Input, 0);
    QVERIFY(parts().crosspointGrid()->button(1, 6)->isChecked());
  }

  // Locked, no crosspoint can be changed and none shows its level: every
  // field says "Lock", every switch shows off. Unlocked, they show it again.
  void theMatrixLockKeepsAndHidesEveryCrosspoint() {
    image_->modify([](ImageData& d) { d.locks.setLocked(LockFlag::Matrix, true); });
    window_->ApplyLocks();
    for (int input = 0; input < kChannels; ++input) {
      for (int output = 0; output < kChannels; ++output) {
        const MixCell* c = cell(input, output);
        QVERIFY(!c->toggle()->isEnabled() && !c->toggle()->isChecked());
        QVERIFY(!c->field()->isEnabled());
        QCOMPARE(c->field()->edit()->text(), QStringLiteral("锁定"));
        QVERIFY(!c->fader()->isVisible());
      }
    }
    QTest::mouseClick(cell(0, 0)->toggle(), Qt::LeftButton);
    QCOMPARE(level(0, 0), 120);
    image_->modify([](ImageData& d) { d.locks.setLocked(LockFlag::Matrix, false); });
    window_->ApplyLocks();
    QVERIFY(cell(0, 0)->toggle()->isChecked());
    QCOMPARE(cell(0, 0)->field()->edit()->text(), QStringLiteral("0.0dB"));
  }

  // A level set on the page of the connected window reaches the device:
  // read back after a new connection, it is there.
  void aLevelReachesTheDevice() {
    SimProcess sim;
    QVERIFY(MainWindowFixture::connectAndRead(*window_, sim));
    window_->SelectPage(Page::Matrix, 0);
    typeLevel(cell(5, 2), "-12.5");
    QCOMPARE(level(5, 2), 95);
    QTRY_COMPARE_WITH_TIMEOUT(image_->field(Side::Input, 5, InputField::mix(2), Copy::Device), 95, 5000);
    QTest::qWait(300);
    window_->disconnectLink();
    QCOMPARE(level(5, 2), 0);
    QVERIFY(window_->connectTo(LinkType::Network, sim.networkTarget(), 0));
    QTRY_COMPARE_WITH_TIMEOUT(level(5, 2), 95, 15000);
    QTRY_COMPARE_WITH_TIMEOUT(cell(5, 2)->fader()->value(), 95, 5000);
    window_->disconnectLink();
  }

  void screenshots() {
    const QString dir = QCoreApplication::applicationDirPath();
    image_->setField(Side::Input, 6, InputField::mix(1), 70);
    window_->RefreshAll();
    for (int language : {0, 1}) {
      Language::setFlag(language);
      window_->ApplyLanguage();
      QTest::qWait(50);
      QVERIFY(window_->grab().save(dir + QStringLiteral("/matrix-page-%1.png").arg(language ? "en" : "zh")));
      QCOMPARE(cell(6, 1)->field()->edit()->text(), QStringLiteral("-25.0dB"));
      QCOMPARE(cell(6, 2)->field()->edit()->text(), QStringLiteral("OFF"));
      // Every crosspoint's controls lie inside the window.
      const QRect last = cell(7, 7)->geometry();
      QVERIFY(cell(7, 7)->mapTo(window_.get(), QPoint(last.width(), last.height())).y() <= 768);
    }
  }
};

}  // namespace orvane::ui

QTEST_MAIN(orvane::ui::MatrixPageTest)
#include "MatrixPageTest.moc"
