#include <QtTest>
#include <algorithm>
#include <climits>
#include <string>

#include "dsp/FreqGrid.h"
#include "dsp/NumFormat.h"

using orvane::NumFormat;
using orvane::NumKind;

namespace {

// The field configurations the pages and dialogs use.
NumFormat field(NumKind kind, int minimum, int maximum, double step = 0.0, double offset = 0.0,
                const std::string& suffix = {}) {
  NumFormat format;
  format.kind = kind;
  format.minimum = minimum;
  format.maximum = maximum;
  format.step = step;
  format.offset = offset;
  format.suffix = suffix;
  return format;
}

NumFormat delay(NumKind kind) {
  return field(kind, 0, 1470);
}
NumFormat frequency(int minimum = 20, int maximum = 20000) {
  return field(NumKind::Frequency, minimum, maximum);
}
NumFormat attack() {
  return field(NumKind::Attack, 0, 206);
}
NumFormat release() {
  return field(NumKind::Integer, 50, 5000);
}
NumFormat octaves() {
  return field(NumKind::Octaves, 0, 295, 0.01);
}
NumFormat qFigure() {
  return field(NumKind::QFigure, 0, 295);
}
NumFormat channelGain() {
  return field(NumKind::Level, 0, 420, 0.1, 30);
}
NumFormat eqGain() {
  return field(NumKind::Level, 0, 600, 0.1, 40);
}
NumFormat noiseGate() {
  return field(NumKind::WholeLevel, 0, 130, 1.0, 120);
}
NumFormat dbuThreshold() {
  return field(NumKind::LevelDbu, 500, 1300, 0.1, 120);
}
NumFormat outputDynamics() {
  return field(NumKind::LevelOffAtTop, 0, 500, 0.1, 30);
}
NumFormat agcLevel() {
  return field(NumKind::LevelOffAtMin, 0, 1000, 0.1, 80);
}
NumFormat mixLevel() {
  return field(NumKind::LevelOffAtMin, 0, 120, 0.5, 60);
}
NumFormat attenuation() {
  return field(NumKind::LevelOffAtMin, 200, 800, 0.1, 80, "dB");
}
NumFormat inputDynamics() {
  return field(NumKind::LevelOffAtMax, 0, 500, 0.1, 30);
}
NumFormat compressorRatio() {
  return field(NumKind::CompressorRatio, 1, 191);
}
NumFormat agcRatio() {
  return field(NumKind::AgcRatio, 1, 191);
}

}  // namespace

Q_DECLARE_METATYPE(NumFormat)

class NumFormatTest : public QObject {
  Q_OBJECT

 private slots:
  void textOfCode_data();
  void textOfCode();
  void typedText_data();
  void typedText();
  void shownTextReadsBackAsTheSameCode_data();
  void shownTextReadsBackAsTheSameCode();
  void qFiguresReadBackAsTheirBand();
  void arrowSteps_data();
  void arrowSteps();
  void frequencyArrowsVisitEveryWholeGridFrequencyBothWays();
  void ratioArrowsOnlyReachDeviceRatios();
  void wheelSteps_data();
  void wheelSteps();
  void keyboardCharacters_data();
  void keyboardCharacters();
};

void NumFormatTest::textOfCode_data() {
  QTest::addColumn<NumFormat>("format");
  QTest::addColumn<int>("code");
  QTest::addColumn<QString>("text");

  // Delay as time: 1/48 ms per code up to 480 (10 ms), then 1 ms per code.
  QTest::newRow("ms 0") << delay(NumKind::DelayMs) << 0 << "0.000";
  QTest::newRow("ms one sample") << delay(NumKind::DelayMs) << 1 << "0.021";
  QTest::newRow("ms 24") << delay(NumKind::DelayMs) << 24 << "0.500";
  QTest::newRow("ms 479") << delay(NumKind::DelayMs) << 479 << "9.979";
  QTest::newRow("ms 480 is whole") << delay(NumKind::DelayMs) << 480 << "10";
  QTest::newRow("ms 481") << delay(NumKind::DelayMs) << 481 << "11";
  QTest::newRow("ms 1470") << delay(NumKind::DelayMs) << 1470 << "1000";
  // Metres at 343.6 m/s: 0.5 ms -> 0.1718 m; 10 ms -> 3.436 m; 11 ms -> 3.78 m.
  QTest::newRow("m 0") << delay(NumKind::DelayMetres) << 0 << "0.000";
  QTest::newRow("m 24") << delay(NumKind::DelayMetres) << 24 << "0.172";
  QTest::newRow("m 480") << delay(NumKind::DelayMetres) << 480 << "3.436";
  QTest::newRow("m 481 whole") << delay(NumKind::DelayMetres) << 481 << "4";
  QTest::newRow("m 1470") << delay(NumKind::DelayMetres) << 1470 << "344";
  // Feet = metres x 3.281; two decimals once above 10 ft, whole feet above 480.
  QTest::newRow("ft 24") << delay(NumKind::DelayFeet) << 24 << "0.564";
  QTest::newRow("ft 425 below 10") << delay(NumKind::DelayFeet) << 425 << "9.982";
  QTest::newRow("ft 426 above 10") << delay(NumKind::DelayFeet) << 426 << "10.01";
  QTest::newRow("ft 480") << delay(NumKind::DelayFeet) << 480 << "11.27";
  QTest::newRow("ft 1470") << delay(NumKind::DelayFeet) << 1470 << "1127";

  QTest::newRow("Hz 20") << frequency() << 20 << "20";
  QTest::newRow("Hz 20000") << frequency() << 20000 << "20000";

  QTest::newRow("attack 0") << attack() << 0 << "0.3";
  QTest::newRow("attack 6") << attack() << 6 << "0.9";
  QTest::newRow("attack 7") << attack() << 7 << "1";
  QTest::newRow("attack 56") << attack() << 56 << "50";
  QTest::newRow("attack 206") << attack() << 206 << "200";

  QTest::newRow("release 50") << release() << 50 << "50";
  QTest::newRow("integer with suffix") << field(NumKind::Integer, 50, 5000, 0, 0, "ms") << 5000 << "5000ms";

  QTest::newRow("oct 0") << octaves() << 0 << "0.05";
  QTest::newRow("oct 25") << octaves() << 25 << "0.30";
  QTest::newRow("oct 95") << octaves() << 95 << "1.00";
  QTest::newRow("oct 295") << octaves() << 295 << "3.00";

  QTest::newRow("gain 0") << channelGain() << 0 << "-30.0";
  QTest::newRow("gain 2") << channelGain() << 2 << "-29.8";
  QTest::newRow("gain 300 no minus zero") << channelGain() << 300 << "0.0";
  QTest::newRow("gain 420") << channelGain() << 420 << "12.0";
  QTest::newRow("gain with suffix") << field(NumKind::Level, 0, 420, 0.1, 30, "dB") << 300 << "0.0dB";
  QTest::newRow("eq gain 365") << eqGain() << 365 << "-3.5";
  QTest::newRow("eq gain 600") << eqGain() << 600 << "20.0";
  QTest::newRow("no step counts as 1") << field(NumKind::Level, 0, 100) << 5 << "5.0";

  QTest::newRow("Q 0") << qFigure() << 0 << "28.852";
  QTest::newRow("Q 25") << qFigure() << 25 << "4.800";
  QTest::newRow("Q 95") << qFigure() << 95 << "1.414";
  QTest::newRow("Q 195") << qFigure() << 195 << "0.667";
  QTest::newRow("Q 295") << qFigure() << 295 << "0.404";

  QTest::newRow("scaled int x10") << field(NumKind::ScaledInteger, 0, 100, 10, 0, "Hz") << 5 << "50Hz";
  QTest::newRow("scaled int x1") << field(NumKind::ScaledInteger, 6, 24, 1, 0, "dBu") << 6 << "6dBu";

  QTest::newRow("gate 0 OFF") << noiseGate() << 0 << "OFF";
  QTest::newRow("gate 1") << noiseGate() << 1 << "-119";
  QTest::newRow("gate 120") << noiseGate() << 120 << "0";
  QTest::newRow("gate 130") << noiseGate() << 130 << "10";

  QTest::newRow("dBu 500") << dbuThreshold() << 500 << "-70.0dBu";
  QTest::newRow("dBu 820") << dbuThreshold() << 820 << "-38.0dBu";
  QTest::newRow("dBu 1300") << dbuThreshold() << 1300 << "10.0dBu";

  QTest::newRow("32 max OFF") << outputDynamics() << 500 << "OFF";
  QTest::newRow("32 499") << outputDynamics() << 499 << "19.9";
  QTest::newRow("32 0") << outputDynamics() << 0 << "-30.0";
  QTest::newRow("32 takes no suffix") << field(NumKind::LevelOffAtTop, 0, 500, 0.1, 30, "dB") << 300 << "0.0";

  QTest::newRow("33 min OFF") << agcLevel() << 0 << "OFF";
  QTest::newRow("33 1") << agcLevel() << 1 << "-79.9";
  QTest::newRow("33 1000") << agcLevel() << 1000 << "20.0";
  QTest::newRow("mix 0 OFF") << mixLevel() << 0 << "OFF";
  QTest::newRow("mix 1") << mixLevel() << 1 << "-59.5";
  QTest::newRow("mix 80") << mixLevel() << 80 << "-20.0";
  QTest::newRow("mix 120") << mixLevel() << 120 << "0.0";
  QTest::newRow("attenuation min OFF") << attenuation() << 200 << "OFF";
  QTest::newRow("attenuation 201") << attenuation() << 201 << "-59.9dB";
  QTest::newRow("attenuation 512") << attenuation() << 512 << "-28.8dB";

  QTest::newRow("34 max OFF") << inputDynamics() << 500 << "OFF";
  QTest::newRow("34 0") << inputDynamics() << 0 << "-30.0";
  QTest::newRow("34 suffix") << field(NumKind::LevelOffAtMax, 0, 500, 0.1, 30, "dB") << 499 << "19.9dB";

  QTest::newRow("comp 1") << compressorRatio() << 1 << "1:1";
  QTest::newRow("comp 2") << compressorRatio() << 2 << "1.1:1";
  QTest::newRow("comp 11") << compressorRatio() << 11 << "2.0:1";
  QTest::newRow("comp 16") << compressorRatio() << 16 << "2.5:1";
  QTest::newRow("comp 191") << compressorRatio() << 191 << "20.0:1";
  QTest::newRow("agc 1") << agcRatio() << 1 << "1:1";
  QTest::newRow("agc 16") << agcRatio() << 16 << "1:2.5";
}

void NumFormatTest::textOfCode() {
  QFETCH(NumFormat, format);
  QFETCH(int, code);
  QFETCH(QString, text);
  QCOMPARE(QString::fromStdString(format.text(code)), text);
}

void NumFormatTest::typedText_data() {
  QTest::addColumn<NumFormat>("format");
  QTest::addColumn<int>("current");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("code");
  QTest::addColumn<bool>("outOfRange");

  const NumFormat ms = delay(NumKind::DelayMs);
  QTest::newRow("ms 10") << ms << 0 << "10" << 480 << false;
  QTest::newRow("ms 10.5 cut down") << ms << 0 << "10.5" << 480 << false;
  QTest::newRow("ms 11") << ms << 0 << "11" << 481 << false;
  QTest::newRow("ms 999.9") << ms << 0 << "999.9" << 1469 << false;
  QTest::newRow("ms 1000") << ms << 0 << "1000" << 1470 << false;
  QTest::newRow("ms 2000 -> max") << ms << 0 << "2000" << 1470 << false;
  QTest::newRow("ms 0.5") << ms << 0 << "0.5" << 24 << false;
  // 0.104 ms x 48 = 4.99 samples: the nearest sample is 5, the code shown as 0.104.
  QTest::newRow("ms 0.104 nearest sample") << ms << 0 << "0.104" << 5 << false;
  QTest::newRow("ms 9.98") << ms << 0 << "9.98" << 479 << false;
  QTest::newRow("ms second point ignored") << ms << 0 << "1.2.3" << 58 << false;
  QTest::newRow("ms empty") << ms << 100 << "" << 0 << false;
  QTest::newRow("ms negative") << ms << 100 << "-1" << 0 << true;
  QTest::newRow("ms slightly negative") << ms << 100 << "-0.001" << 0 << true;
  QTest::newRow("ms minus zero is not negative") << ms << 100 << "-0" << 0 << false;

  const NumFormat metres = delay(NumKind::DelayMetres);
  // 0.172 m / 0.3436 m per ms = 0.5006 ms = 24.03 samples.
  QTest::newRow("m 0.172") << metres << 0 << "0.172" << 24 << false;
  QTest::newRow("m 3.436 is 10 ms") << metres << 0 << "3.436" << 480 << false;
  // 5 m = 14.55 ms -> 484 (14 ms).
  QTest::newRow("m 5") << metres << 0 << "5" << 484 << false;
  QTest::newRow("m 343.6 max") << metres << 0 << "343.6" << 1470 << false;
  QTest::newRow("m beyond max") << metres << 0 << "500" << 1470 << false;
  QTest::newRow("m negative") << metres << 300 << "-1" << 0 << true;

  const NumFormat feet = delay(NumKind::DelayFeet);
  QTest::newRow("ft 0.564") << feet << 0 << "0.564" << 24 << false;
  // 11.27 ft = 3.4349 m = 9.997 ms = 479.85 samples -> 480.
  QTest::newRow("ft 11.27") << feet << 0 << "11.27" << 480 << false;
  // 100 ft = 30.479 m = 88.70 ms -> 558 (88 ms).
  QTest::newRow("ft 100") << feet << 0 << "100" << 558 << false;
  QTest::newRow("ft beyond max") << feet << 0 << "2000" << 1470 << false;
  QTest::newRow("ft negative") << feet << 300 << "-3" << 0 << true;

  const NumFormat hz = frequency();
  QTest::newRow("Hz 1000") << hz << 500 << "1000" << 1000 << false;
  QTest::newRow("Hz fraction cut") << hz << 500 << "1000.7" << 1000 << false;
  QTest::newRow("Hz below") << hz << 500 << "5" << 20 << false;
  QTest::newRow("Hz negative") << hz << 500 << "-50" << 20 << false;
  QTest::newRow("Hz above") << hz << 500 << "25000" << 20000 << false;
  QTest::newRow("Hz too many digits") << hz << 500 << "99999999999999999999" << 20000 << false;
  QTest::newRow("Hz OFF keeps value") << hz << 500 << "OFF" << 500 << false;

  const NumFormat a = attack();
  QTest::newRow("attack 0.1 -> 0.3") << a << 30 << "0.1" << 0 << false;
  QTest::newRow("attack 0.3") << a << 30 << "0.3" << 0 << false;
  QTest::newRow("attack 0.5") << a << 30 << "0.5" << 2 << false;
  QTest::newRow("attack 0.6") << a << 30 << "0.6" << 3 << false;
  QTest::newRow("attack 0.7") << a << 30 << "0.7" << 4 << false;
  QTest::newRow("attack 0.9") << a << 30 << "0.9" << 6 << false;
  QTest::newRow("attack 0.95 keeps value") << a << 30 << "0.95" << 30 << false;
  QTest::newRow("attack 1") << a << 30 << "1" << 7 << false;
  QTest::newRow("attack 50") << a << 30 << "50" << 56 << false;
  QTest::newRow("attack 50.9") << a << 30 << "50.9" << 56 << false;
  QTest::newRow("attack 200") << a << 30 << "200" << 206 << false;
  QTest::newRow("attack 500 -> 200") << a << 30 << "500" << 206 << false;
  QTest::newRow("attack negative") << a << 30 << "-5" << 0 << false;

  QTest::newRow("release 150") << release() << 100 << "150" << 150 << false;
  QTest::newRow("release 120.9") << release() << 100 << "120.9" << 120 << false;
  QTest::newRow("release below") << release() << 100 << "10" << 50 << false;
  QTest::newRow("release above") << release() << 100 << "6000" << 5000 << false;

  QTest::newRow("oct 0.3") << octaves() << 0 << "0.3" << 25 << false;
  QTest::newRow("oct 1") << octaves() << 0 << "1" << 95 << false;
  QTest::newRow("oct 5 -> 3.00") << octaves() << 0 << "5" << 295 << false;
  QTest::newRow("oct 0.01 -> 0.05") << octaves() << 100 << "0.01" << 0 << false;
  QTest::newRow("oct 2.999") << octaves() << 0 << "2.999" << 294 << false;

  QTest::newRow("Q 1.414") << qFigure() << 0 << "1.414" << 95 << false;
  QTest::newRow("Q 4.8") << qFigure() << 0 << "4.8" << 25 << false;
  QTest::newRow("Q 50 -> 28.852") << qFigure() << 100 << "50" << 0 << false;
  QTest::newRow("Q 0.1 -> 0.404") << qFigure() << 0 << "0.1" << 295 << false;

  const NumFormat tens = field(NumKind::ScaledInteger, 0, 100, 10);
  QTest::newRow("x10 typed 50 is code 5") << tens << 0 << "50" << 5 << false;
  QTest::newRow("x10 typed 55") << tens << 0 << "55" << 5 << false;
  QTest::newRow("x10 above") << tens << 0 << "2000" << 100 << false;
  QTest::newRow("x10 negative") << tens << 50 << "-3" << 0 << false;
  QTest::newRow("x1 12") << field(NumKind::ScaledInteger, 6, 24, 1) << 6 << "12" << 12 << false;

  const NumFormat gain = channelGain();
  QTest::newRow("gain -29.8") << gain << 300 << "-29.8" << 2 << false;
  QTest::newRow("gain 0") << gain << 0 << "0" << 300 << false;
  QTest::newRow("gain 1.3") << gain << 0 << "1.3" << 313 << false;
  QTest::newRow("gain -3.55 cut down") << gain << 0 << "-3.55" << 264 << false;
  QTest::newRow("gain 12") << gain << 0 << "12" << 420 << false;
  QTest::newRow("gain above") << gain << 0 << "50" << 420 << false;
  QTest::newRow("gain below, no message") << gain << 300 << "-40" << 0 << false;
  QTest::newRow("gain suffix ignored") << gain << 0 << " 6.5dB" << 365 << false;
  QTest::newRow("gain has no OFF") << gain << 0 << "OFF" << 300 << false;
  QTest::newRow("eq gain -3.5") << eqGain() << 400 << "-3.5" << 365 << false;
  QTest::newRow("no step counts as 1") << field(NumKind::Level, 0, 100) << 0 << "7" << 7 << false;

  const NumFormat gate = noiseGate();
  QTest::newRow("gate OFF") << gate << 50 << "OFF" << 0 << false;
  QTest::newRow("gate -120") << gate << 50 << "-120" << 0 << false;
  QTest::newRow("gate -119") << gate << 50 << "-119" << 1 << false;
  QTest::newRow("gate -119.5 cut down") << gate << 50 << "-119.5" << 0 << false;
  QTest::newRow("gate 10") << gate << 50 << "10" << 130 << false;
  QTest::newRow("gate above") << gate << 50 << "20" << 130 << false;
  QTest::newRow("gate below") << gate << 50 << "-200" << 0 << false;

  const NumFormat dbu = dbuThreshold();
  QTest::newRow("dBu -38") << dbu << 500 << "-38" << 820 << false;
  QTest::newRow("dBu with unit") << dbu << 500 << "6.5dBu" << 1265 << false;
  QTest::newRow("dBu below") << dbu << 820 << "-80" << 500 << false;
  QTest::newRow("dBu OFF is 20 -> top") << dbu << 820 << "OFF" << 1300 << false;

  QTest::newRow("32 OFF") << outputDynamics() << 0 << "OFF" << 500 << false;
  QTest::newRow("32 19.9") << outputDynamics() << 0 << "19.9" << 499 << false;
  QTest::newRow("32 above") << outputDynamics() << 0 << "25" << 500 << false;
  QTest::newRow("32 -30") << outputDynamics() << 300 << "-30" << 0 << false;

  QTest::newRow("33 OFF") << agcLevel() << 500 << "OFF" << 0 << false;
  QTest::newRow("33 -79.9") << agcLevel() << 500 << "-79.9" << 1 << false;
  QTest::newRow("33 below") << agcLevel() << 500 << "-100" << 0 << false;
  QTest::newRow("mix -20") << mixLevel() << 0 << "-20" << 80 << false;
  QTest::newRow("mix -20.3 -> -20.5") << mixLevel() << 0 << "-20.3" << 79 << false;
  QTest::newRow("mix above") << mixLevel() << 0 << "5" << 120 << false;
  QTest::newRow("attenuation OFF") << attenuation() << 512 << "OFF" << 200 << false;
  QTest::newRow("attenuation -28.8") << attenuation() << 200 << "-28.8" << 512 << false;
  QTest::newRow("attenuation below") << attenuation() << 512 << "-70" << 200 << false;

  QTest::newRow("34 OFF") << inputDynamics() << 0 << "OFF" << 500 << false;
  QTest::newRow("34 0") << inputDynamics() << 0 << "0" << 300 << false;

  QTest::newRow("comp typing not taken") << compressorRatio() << 16 << "5" << 16 << false;
  QTest::newRow("agc typing not taken") << agcRatio() << 16 << "5" << 16 << false;
}

void NumFormatTest::typedText() {
  QFETCH(NumFormat, format);
  QFETCH(int, current);
  QFETCH(QString, typed);
  QFETCH(int, code);
  QFETCH(bool, outOfRange);
  const orvane::NumParsed parsed = format.parse(typed.toStdString(), current);
  QCOMPARE(parsed.code, code);
  QCOMPARE(parsed.outOfRange, outOfRange);
}

void NumFormatTest::shownTextReadsBackAsTheSameCode_data() {
  QTest::addColumn<NumFormat>("format");
  QTest::addColumn<int>("last");  // highest code whose text names it alone

  // Above 480 the distances are shown in whole metres or feet, which stand
  // for several codes each; below, every code has its own text.
  QTest::newRow("ms") << delay(NumKind::DelayMs) << 1470;
  QTest::newRow("metres") << delay(NumKind::DelayMetres) << 480;
  QTest::newRow("feet") << delay(NumKind::DelayFeet) << 480;
  QTest::newRow("frequency") << frequency() << 20000;
  QTest::newRow("attack") << attack() << 206;
  QTest::newRow("release") << release() << 5000;
  QTest::newRow("octaves") << octaves() << 295;
  QTest::newRow("channel gain") << channelGain() << 420;
  QTest::newRow("eq gain") << eqGain() << 600;
  QTest::newRow("master level") << field(NumKind::LevelOffAtMin, 0, 720, 0.1, 60) << 720;
  QTest::newRow("noise gate") << noiseGate() << 130;
  QTest::newRow("dBu threshold") << dbuThreshold() << 1300;
  QTest::newRow("output dynamics") << outputDynamics() << 500;
  QTest::newRow("agc level") << agcLevel() << 1000;
  QTest::newRow("mix level") << mixLevel() << 120;
  QTest::newRow("attenuation") << attenuation() << 800;
  QTest::newRow("input dynamics") << inputDynamics() << 500;
  QTest::newRow("scaled integer") << field(NumKind::ScaledInteger, 6, 24, 1) << 24;
}

// Typing back exactly what a field shows must give the code it shows: a
// figure such as -29.8 has no exact binary form, and a rule that merely cuts
// (x + offset) / step to its integer part lands one code lower for dozens of
// codes per scale.
void NumFormatTest::shownTextReadsBackAsTheSameCode() {
  QFETCH(NumFormat, format);
  QFETCH(int, last);
  for (int code = format.minimum; code <= last; ++code) {
    const std::string shown = format.text(code);
    const int back = format.parse(shown, code == format.minimum ? format.maximum : format.minimum).code;
    if (back != code)
      QFAIL(qPrintable(QStringLiteral("code %1 shown as %2 reads back as %3")
                           .arg(code)
                           .arg(QString::fromStdString(shown))
                           .arg(back)));
  }
}

// A Q figure names its own band unless the next wider band rounds to the same
// three decimals; then it names the narrowest band with that figure.
void NumFormatTest::qFiguresReadBackAsTheirBand() {
  const NumFormat format = qFigure();
  for (int code = 0; code <= 295; ++code) {
    const std::string shown = format.text(code);
    int expected = code;
    while (expected > 0 && format.text(expected - 1) == shown) --expected;
    QCOMPARE(format.parse(shown, 0).code, expected);
  }
}

void NumFormatTest::arrowSteps_data() {
  QTest::addColumn<NumFormat>("format");
  QTest::addColumn<int>("code");
  QTest::addColumn<int>("steps");
  QTest::addColumn<int>("expected");

  // Ratios: tenths up to 2.0 (code 11), whole and half ratios above.
  QTest::newRow("ratio 11 up") << compressorRatio() << 11 << 1 << 16;
  QTest::newRow("ratio 16 down") << compressorRatio() << 16 << -1 << 11;
  QTest::newRow("ratio 11 down") << compressorRatio() << 11 << -1 << 10;
  QTest::newRow("ratio 10 up") << compressorRatio() << 10 << 1 << 11;
  QTest::newRow("ratio 21 down") << compressorRatio() << 21 << -1 << 16;
  QTest::newRow("ratio 16 two up") << compressorRatio() << 16 << 2 << 26;
  QTest::newRow("ratio 1 three up") << compressorRatio() << 1 << 3 << 4;
  QTest::newRow("ratio 1 down stays") << compressorRatio() << 1 << -1 << 1;
  QTest::newRow("ratio 186 up") << compressorRatio() << 186 << 1 << 191;
  QTest::newRow("ratio 191 up stays") << compressorRatio() << 191 << 1 << 191;
  QTest::newRow("ratio 13 (2.2) up") << compressorRatio() << 13 << 1 << 16;
  QTest::newRow("ratio 13 (2.2) down") << compressorRatio() << 13 << -1 << 11;
  QTest::newRow("ratio many up") << compressorRatio() << 1 << INT_MAX << 191;
  QTest::newRow("agc ratio 11 up") << agcRatio() << 11 << 1 << 16;
  QTest::newRow("agc ratio 16 down") << agcRatio() << 16 << -1 << 11;

  // Frequencies: the whole-Hz values of the 241-point grid.
  QTest::newRow("Hz 1000 up") << frequency() << 1000 << 1 << 1030;
  QTest::newRow("Hz 1030 up") << frequency() << 1030 << 1 << 1060;
  QTest::newRow("Hz 1000 two up") << frequency() << 1000 << 2 << 1060;
  QTest::newRow("Hz 1000 down") << frequency() << 1000 << -1 << 972;
  QTest::newRow("Hz 20 up") << frequency() << 20 << 1 << 21;
  QTest::newRow("Hz 21 up") << frequency() << 21 << 1 << 22;
  QTest::newRow("Hz 22 up") << frequency() << 22 << 1 << 23;
  QTest::newRow("Hz 23 up") << frequency() << 23 << 1 << 24;
  QTest::newRow("Hz 25 up (26.3)") << frequency() << 25 << 1 << 26;
  QTest::newRow("Hz 22 down") << frequency() << 22 << -1 << 21;
  QTest::newRow("Hz 21 down") << frequency() << 21 << -1 << 20;
  QTest::newRow("Hz 20 down stays") << frequency() << 20 << -1 << 20;
  QTest::newRow("Hz off grid up") << frequency() << 1015 << 1 << 1030;
  QTest::newRow("Hz off grid down") << frequency() << 1015 << -1 << 1000;
  QTest::newRow("Hz 19585 up") << frequency() << 19585 << 1 << 20000;
  QTest::newRow("Hz 20000 up stays") << frequency() << 20000 << 1 << 20000;
  QTest::newRow("Hz 20000 down") << frequency() << 20000 << -1 << 19585;
  QTest::newRow("Hz many up") << frequency() << 20 << 1000000 << 20000;
  QTest::newRow("Hz many down") << frequency() << 20000 << -1000000 << 20;
  QTest::newRow("low shelf top") << frequency(20, 2000) << 1943 << 1 << 2000;
  QTest::newRow("low shelf stays at top") << frequency(20, 2000) << 2000 << 1 << 2000;
  QTest::newRow("high shelf bottom") << frequency(2000, 20000) << 2059 << -1 << 2000;
  QTest::newRow("high shelf stays at bottom") << frequency(2000, 20000) << 2000 << -1 << 2000;

  QTest::newRow("release up") << release() << 100 << 1 << 101;
  QTest::newRow("release down at min") << release() << 50 << -1 << 50;
  QTest::newRow("release five up near max") << release() << 4999 << 5 << 5000;
  QTest::newRow("gain up") << channelGain() << 300 << 1 << 301;
  QTest::newRow("plain many up") << field(NumKind::Integer, 0, 100) << 0 << INT_MAX << 100;
  QTest::newRow("plain many down") << field(NumKind::Integer, 0, 100) << 100 << INT_MIN << 0;
}

void NumFormatTest::arrowSteps() {
  QFETCH(NumFormat, format);
  QFETCH(int, code);
  QFETCH(int, steps);
  QFETCH(int, expected);
  QCOMPARE(format.arrowStep(code, steps), expected);
}

// Stepping must neither skip a grid frequency nor stall: up from 20 Hz and
// back down from 20 kHz both pass every distinct whole-Hz grid value.
void NumFormatTest::frequencyArrowsVisitEveryWholeGridFrequencyBothWays() {
  const NumFormat format = frequency();
  QList<int> grid;
  for (const double hz : orvane::FreqGrid) {
    const int whole = static_cast<int>(hz);
    if (whole >= 20 && (grid.isEmpty() || grid.last() != whole)) grid << whole;
  }
  QList<int> up{20};
  while (up.last() != 20000) {
    const int next = format.arrowStep(up.last(), 1);
    QVERIFY2(next > up.last(), qPrintable(QStringLiteral("stalled at %1").arg(up.last())));
    up << next;
  }
  QCOMPARE(up, grid);
  QList<int> down{20000};
  while (down.last() != 20) {
    const int next = format.arrowStep(down.last(), -1);
    QVERIFY2(next < down.last(), qPrintable(QStringLiteral("stalled at %1").arg(down.last())));
    down << next;
  }
  std::reverse(down.begin(), down.end());
  QCOMPARE(down, grid);
}

// From any code, in either direction, the arrows land on a ratio the device
// has: 1.0..2.0 in tenths, whole and half ratios above.
void NumFormatTest::ratioArrowsOnlyReachDeviceRatios() {
  const NumFormat format = compressorRatio();
  const auto deviceRatio = [](int code) { return code <= 11 || (code - 1) % 5 == 0; };
  for (int code = 1; code <= 191; ++code) {
    for (const int steps : {1, -1}) {
      const int next = format.arrowStep(code, steps);
      QVERIFY2(deviceRatio(next), qPrintable(QStringLiteral("%1 %2 -> %3").arg(code).arg(steps).arg(next)));
      if (code != (steps > 0 ? 191 : 1)) QVERIFY(steps > 0 ? next > code : next < code);
    }
  }
}

void NumFormatTest::wheelSteps_data() {
  QTest::addColumn<NumFormat>("format");
  QTest::addColumn<int>("code");
  QTest::addColumn<int>("notches");
  QTest::addColumn<int>("expected");
  QTest::newRow("Hz one Hz") << frequency() << 1000 << 1 << 1001;
  QTest::newRow("Hz down one Hz") << frequency() << 1000 << -1 << 999;
  QTest::newRow("gain at max") << channelGain() << 420 << 1 << 420;
  QTest::newRow("gain at min") << channelGain() << 0 << -1 << 0;
  QTest::newRow("ratio up moves like the arrows") << compressorRatio() << 16 << 1 << 21;
  QTest::newRow("ratio down moves like the arrows") << compressorRatio() << 16 << -1 << 11;
}

void NumFormatTest::wheelSteps() {
  QFETCH(NumFormat, format);
  QFETCH(int, code);
  QFETCH(int, notches);
  QFETCH(int, expected);
  QCOMPARE(format.wheelStep(code, notches), expected);
}

void NumFormatTest::keyboardCharacters_data() {
  QTest::addColumn<uint>("character");
  QTest::addColumn<bool>("accepted");
  for (char c = '0'; c <= '9'; ++c) QTest::addRow("digit %c", c) << uint(c) << true;
  QTest::newRow("point") << uint('.') << true;
  QTest::newRow("minus") << uint('-') << true;
  QTest::newRow("plus") << uint('+') << false;
  QTest::newRow("comma") << uint(',') << false;
  QTest::newRow("blank") << uint(' ') << false;
  QTest::newRow("e") << uint('e') << false;
  QTest::newRow("O") << uint('O') << false;
  QTest::newRow("double-byte") << uint(0x4E2D) << false;
  QTest::newRow("full-width digit") << uint(0xFF11) << false;
}

void NumFormatTest::keyboardCharacters() {
  QFETCH(uint, character);
  QFETCH(bool, accepted);
  QCOMPARE(NumFormat::acceptsCharacter(static_cast<char32_t>(character)), accepted);
}

QTEST_GUILESS_MAIN(NumFormatTest)
#include "NumFormatTest.moc"
