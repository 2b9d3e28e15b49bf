#pragma once

// The bilingual texts of the main window, the connection dialogs and the
// messages about links.

#include "model/Language.h"

namespace orvane::ui::MainTexts {

// Main window.
inline constexpr BiText kConnect{"Connect", "连接"};
inline constexpr BiText kDisconnect{"Disconnect", "断开"};
inline constexpr BiText kLanguageButton{"中文", "English"};  // names the language it switches to
inline constexpr BiText kHelp{"Help", "帮助"};
inline constexpr BiText kPrograms{"Programs", "程序"};
inline constexpr BiText kDeviceIdButton{"Device ID", "设备ID"};
inline constexpr BiText kSetting{"Setting", "设置"};
inline constexpr BiText kLockButton{"Lock", "加锁"};
inline constexpr BiText kReport{"Report", "报表"};
inline constexpr BiText kProgramName{"Program", "程序名"};
inline constexpr BiText kProgramNumber{"No.", "编号"};
inline constexpr BiText kLink{"Link", "连接"};
inline constexpr BiText kInputs{"Inputs", "输入"};
inline constexpr BiText kOutputs{"Outputs", "输出"};
inline constexpr BiText kAbout{"About Orvane(&A)...", "关于 Orvane(&A)..."};
inline constexpr BiText kAboutTitle{"About Orvane", "关于 Orvane"};
// Taking back and doing again the user's edits; the tool tips name the step.
inline constexpr BiText kUndo{"Undo", "撤销"};
inline constexpr BiText kRedo{"Redo", "重做"};
inline constexpr BiText kUndoStep{"Undo: %1", "撤销：%1"};
inline constexpr BiText kRedoStep{"Redo: %1", "重做：%1"};

// Channel strips, master section and crosspoints.
inline constexpr BiText kMute{"Mute", "静音"};
inline constexpr BiText kCurve{"Curve", "曲线"};
inline constexpr BiText kMaster{"Master", "总音量"};
inline constexpr BiText kAntiFeedback{"Anti-FB", "防啸叫"};
inline constexpr BiText kMatrix{"Matrix", "矩阵"};
inline constexpr BiText kMixerPage{"Mixer levels", "混音电平"};
inline constexpr BiText kGraph{"Response", "频响曲线"};
// What a locked field or list shows instead of its value.
inline constexpr BiText kLocked{"Lock", "锁定"};

// Connection dialog.
inline constexpr BiText kConnectTitle{"Connect", "连接"};
inline constexpr BiText kUsbGroup{"USB CONNECTION", "USB 连接"};
inline constexpr BiText kNetworkGroup{"INTERNET && WIFI CONNECTION", "网络及wifi 连接"};
inline constexpr BiText kIp{"IP", "IP 地址"};
inline constexpr BiText kSerialGroup{"485 CONNECTION", "485 连接"};
inline constexpr BiText kCom{"Com", "端口"};
inline constexpr BiText kSearchIdLabel{"Search ID", "ID"};
inline constexpr BiText kSearchIdButton{"Search ID", "搜索 ID"};
inline constexpr BiText kCancel{"Cancel", "取消"};

// Device ID dialog.
inline constexpr BiText kDeviceIdTitle{"Device ID", "设备 ID"};
inline constexpr BiText kChangeId{"Change Current Device ID to", "更改当前设备ID"};
inline constexpr BiText kReconnectId{"Re_Connect to Device ID", "重新连接到另外一台设备"};
inline constexpr BiText kOk{"OK", "确定"};

// Transfer popup.
inline constexpr BiText kTransferTitle{"Data transmission", "数据传输"};
inline constexpr BiText kTransferRunning{"Data transmission", "数据正在传输中"};
inline constexpr BiText kTransferEnded{"End of data transmission", "数据传输结束"};

// Opening a link failed.
inline constexpr BiText kSerialOpenFailed = BiText::englishOnly("Unable to open COM-port");
inline constexpr BiText kUsbOpenFailed = BiText::englishOnly("Unable to open USB");
inline constexpr BiText kNetOpenFailed{"Unable to open Net", "不能打开网络"};
inline constexpr BiText kApplicationError = BiText::englishOnly("Application Error");

// Network operations.
inline constexpr BiText kRenameFailed{"Modify the network name fails.", "修改网络名称失败."};
inline constexpr BiText kFactoryResetFailed{"Network Factory Reset Failed.", "恢复网络出厂设置失败。"};
inline constexpr BiText kRenameDone{"Successfully modify the network name.", "修改网络名称成功."};
inline constexpr BiText kFactoryResetDone{"Network Factory Reset Success.", "恢复网络出厂设置成功。"};

// Firmware check.
inline constexpr BiText kWrongProduct{"Software version is error!", "软件版本错误！"};
inline constexpr BiText kDeviceOlderJ{
    "If device version is lower than the software version, only the device at version, J-DV1.00 to J-DV1.99, "
    "can "
    "be connected with this software.",
    "机器版本比PC软件版本号低，只有版本号为“J-DV1.00到J-DV1.99”之间的机器才能和该版本的PC软件连接。"};
inline constexpr BiText kDeviceNewerJ{
    "If software version is lower than the device version, only the software at version, J-SV1.00 to "
    "J-SVC1.99, "
    "can be connected with this device.",
    "PC软件版本比机器版本号低，只有版本号为“J-SV1.00到J-SV1.99”之间的PC软件才能和该版本的机器连接."};
inline constexpr BiText kDeviceOlderS{
    "If device version is lower than the software version, only the device at version, S-DV1.00 to S-DV1.99, "
    "can "
    "be connected with this software.",
    "机器版本比PC软件版本号低，只有版本号为“S-DV1.00到S-DV1.99”之间的机器才能和该版本的PC软件连接。"};
inline constexpr BiText kDeviceNewerS{
    "If software version is lower than the device version, only the software at version, S-SV1.00 to "
    "S-SVC1.99, "
    "can be connected with this device.",
    "PC软件版本比机器版本号低，只有版本号为“S-SV1.00到S-SV1.99”之间的PC软件才能和该版本的机器连接."};

// Help.
inline constexpr BiText kHelpMissing{"Not Find Help File", "没有发现帮助文件!"};

}  // namespace orvane::ui::MainTexts
