#include "ui/settings/Dev_Set_Cap.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "ui/common/ConnectionChoices.h"
#include "ui/common/UiText.h"
#include "ui/settings/SettingsTexts.h"

namespace orvane::ui {

namespace {

// In the order of Dev_Set_Cap::Topic. The network topic quotes the factory
// address, filled in where "%1" stands.
constexpr std::array<BiText, Dev_Set_Cap::kTopics> kTopicTexts{{
    {"Digital / analog conversion\n\n"
     "DEVICE MODE: a single device, or the first device of a cascade, works as master. Every device "
     "that receives its audio from another one over the optical cascade link works as slave.\n\n"
     "OUTPUT SELECTION: analog output feeds the amplifiers from the device's own output sockets; digital "
     "output passes the signal on over the optical link. A slave can only use digital output, so choosing "
     "Slave Mode selects Digital Output and locks the list.\n\n"
     "0dB FS REFERENCE: the analog level, from 6 to 24 dBu, that corresponds to a full-scale digital "
     "signal. Set it to the highest level the equipment after the device accepts, so that a full-scale "
     "signal never overloads it.",
     "数字/模拟电平转换设置\n\n"
     "设备模式：单独使用的设备，或级联中的第一台设备，设为主机；通过光纤级联从其他设备接收音频的设备，设为从"
     "机。\n\n"
     "输出通道选择：模拟输出由本机的输出端口直接驱动功放；数字输出经光纤把信号传给下一台设备。"
     "从机只能使用数字输出，因此选择“从机”时自动选中“数字输出”，并锁定该列表。\n\n"
     "0dB FS 参考电平：数字满刻度信号对应的模拟电平，范围 6–24 dBu。请设为后级设备能承受的最高电平，"
     "这样满刻度信号也不会使后级过载。"},
    {"Priority settings\n\n"
     "Mode Selection: conference and discussion mode each keep their own levels, thresholds, number of "
     "simultaneous channels and attenuations; the controls always show the set of the mode selected.\n\n"
     "LEVEL: an input is either Chairman or Representative. A chairman takes priority over the "
     "representatives.\n\n"
     "THRESHOLD: the level above which an input counts as speaking and takes its priority. The camera "
     "uses the same threshold to turn to the speaker's preset.\n\n"
     "Simultaneous Channels: how many microphones may be open at once, 1 to 9. With 9 every channel of "
     "every cascaded device can work at the same time. When more people speak than channels are allowed, "
     "a chairman comes first; among inputs of the same level, whoever spoke first keeps the channel.",
     "优先级设置\n\n"
     "模式选择：会议模式和讨论模式各有一套级别、阀值、同时工作通道数和自动衰减；界面始终显示所选模式的那一套"
     "设置。\n\n"
     "级别：每个输入为“主席”或“代表”，主席优先于代表。\n\n"
     "阀值：输入电平超过该值即视为正在发言并获得优先权。摄像头也按此阀值转向发言者的预置位。\n\n"
     "同时工作通道数：可同时打开的话筒数，1–9。选 9 时，所有级联设备的全部通道可同时工作。"
     "发言人数多于允许的通道数时，主席优先；同一级别的输入按先后顺序，先发言者保持通道。"},
    {"Network\n\n"
     "Modify network name: gives the device's WiFi network a new name of letters A-Z, a-z and digits "
     "0-9. The network module restarts, so a network connection ends and must be opened again.\n\n"
     "Restore network factory settings: returns the network module to the state it left the factory "
     "with. Its address returns to the factory address (%1); connect to that address again through the "
     "connection dialog.",
     "设置网络\n\n"
     "修改网络名称：为设备的 WiFi 网络设置新名称，只能使用英文字母 A–Z、a–z 和数字 0–9。"
     "修改后网络模块会重新启动，网络连接随之断开，需要重新连接。\n\n"
     "恢复网络出厂设置：使网络模块回到出厂状态，设备地址恢复为出厂地址（%"
     "1）；请在连接对话框中重新连接该地址。"},
    {"Device start up program\n\n"
     "The program the device loads when it is switched on. \"Current Program\" keeps whatever the device "
     "ran last; \"Device Program 1\" to \"Device Program 30\" always start with that stored program.",
     "设备启动程序\n\n"
     "设备开机时调用的程序。“当前程序”表示沿用关机前正在运行的设置；“设备程序1”至“设备程序30”表示每次开机都调"
     "用该存储程序。"},
    {"Optical signal delay time settings\n\n"
     "Each device in an optical cascade delays the signal by 3.09 ms. To keep all loudspeakers in step, "
     "the devices earlier in the chain wait for the later ones: choose 0 to 11 x 3.09 ms; at most 12 "
     "devices can be cascaded.\n\n"
     "Without a cascade choose 0mS. In a chain of n devices the master uses (n - 1) x 3.09 ms and each "
     "slave one step less than the device that feeds it, so the last slave uses 0mS.",
     "光纤信号群延时时间设置\n\n"
     "光纤级联中每台设备使信号延时 3.09 ms。为使所有扬声器同步，链路前端的设备要等待后端设备："
     "可选 0 至 11×3.09 ms，最多可级联 12 台设备。\n\n"
     "不级联时请选 0mS。n 台设备级联时，主机选 (n−1)×3.09 "
     "ms，每台从机比为其送信号的设备少一档，最后一台从机为 0mS。"},
    {"Attenuation\n\n"
     "While a chairman input is above its threshold, the device lowers the other inputs so that the "
     "chairman is heard clearly. Conference and discussion mode each have three values:\n"
     "Chairman: fixed at 0 dB, a chairman is never attenuated.\n"
     "Representative: applied to the representative inputs (default -20 dB).\n"
     "Cascade: applied to the audio arriving from cascaded devices (default -20 dB).\n"
     "OFF leaves the inputs as they are.",
     "自动衰减\n\n"
     "当主席输入超过其阀值时，设备会降低其他输入的电平，使主席的发言清晰可闻。会议模式和讨论模式各有三个值："
     "\n"
     "主席级别：固定为 0 dB，主席从不衰减。\n"
     "代表级别：作用于代表输入（默认 −20 dB）。\n"
     "级联输入通道：作用于来自级联设备的音频（默认 −20 dB）。\n"
     "OFF 表示不衰减。"},
    {"Camera settings\n\n"
     "PRESET: the camera position each input turns the camera to while it speaks; Panoramic is the "
     "position used while nobody speaks. CAMERAIP ID: the address of the camera that serves the input.\n\n"
     "PESPONSE: how long an input must stay above its threshold before the camera turns. RELEASE: how "
     "long the camera stays after the speaker stops before it returns to the panoramic position.\n\n"
     "Protocol and Camera ID must match the settings of the camera; camera control runs on the device's "
     "RS-485 camera port at 9600 baud. Speed sets how fast the steering buttons move the camera.\n\n"
     "To store a preset, steer the camera with the buttons, enter the preset number and press Save; "
     "Load turns the camera to a stored preset. Presets can only be set on the master.",
     "摄像头设置\n\n"
     "预置位：各输入发言时摄像头转向的位置；全景位是无人发言时的位置。摄像头ID：为该输入服务的摄像头地址。\n"
     "\n"
     "响应时间：输入须持续超过阀值多久摄像头才转向。释放时间：发言结束后摄像头停留多久再回到全景位。\n\n"
     "通讯协议和设备地址必须与摄像头本身的设置一致；摄像头控制经设备的 RS-485 摄像头端口，波特率 9600。"
     "速度决定方向按钮转动摄像头的快慢。\n\n"
     "存储预置位：用方向按钮调整摄像头，输入预置位号后按“保存”；按“调用”使摄像头转到已存储的预置位。"
     "只有主机才能设置预置位。"},
}};

}  // namespace

QString Dev_Set_Cap::text(Topic topic) {
  QString body = uiText(kTopicTexts[static_cast<std::size_t>(topic)]);
  if (topic == Topic::Network) body = body.arg(QString::fromLatin1(ConnectionChoices::kFactoryAddress));
  return body;
}

Dev_Set_Cap::Dev_Set_Cap(Topic topic, QWidget* parent) : QDialog(parent) {
  setObjectName("settingsHelp");
  setWindowTitle(uiText(SettingsTexts::kHelp));
  auto* layout = new QVBoxLayout(this);
  text_ = new QLabel(text(topic), this);
  text_->setWordWrap(true);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text_->setMinimumWidth(460);
  layout->addWidget(text_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(uiText(SettingsTexts::kQuit), QDialogButtonBox::AcceptRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace orvane::ui
