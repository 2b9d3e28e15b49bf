#pragma once

// The bilingual texts of the camera section of the settings dialog. Some
// English captions are kept as the device's users know them ("CAMERAIP ID",
// "PESPONSE").

#include <array>

#include "model/Language.h"

namespace orvane::ui::CameraTexts {

inline constexpr BiText kTitle{"Camera Settings", "摄像头设置"};
inline constexpr BiText kPreset{"PRESET", "预置位"};
inline constexpr BiText kCameraIpId{"CAMERAIP ID", "摄像头ID"};
inline constexpr BiText kPanoramic{"Panoramic", "全景位"};
inline constexpr BiText kResponse{"PESPONSE", "响应时间"};
inline constexpr BiText kRelease{"RELEASE", "释放时间"};
inline constexpr BiText kProtocol{"Protocol", "通讯协议"};
inline constexpr std::array<BiText, 2> kProtocols{BiText::same("PELCO_D"), BiText::same("SONY_VISCA")};

inline constexpr BiText kUp{"Up", "上"};
inline constexpr BiText kDown{"Down", "下"};
inline constexpr BiText kLeft{"Left", "左"};
inline constexpr BiText kRight{"Right", "右"};
inline constexpr BiText kFocusFar{"Focus Far", "聚焦远"};
inline constexpr BiText kFocusNear{"Focus Near", "聚焦近"};
inline constexpr BiText kLargeMagnification{"Large magnification", "倍率大"};
inline constexpr BiText kSmallMagnification{"Small magnification", "倍率小"};
inline constexpr BiText kLargeAperture{"Large aperture", "光圈大"};
inline constexpr BiText kSmallAperture{"Small aperture", "光圈小"};

inline constexpr BiText kSteeringPreset{"Preset", "预置位"};
inline constexpr BiText kSpeed{"Speed", "速度"};
inline constexpr BiText kCameraId{"Camera ID", "设备地址"};
inline constexpr BiText kSave{"Save", "保存"};
inline constexpr BiText kLoad{"Load", "调用"};

}  // namespace orvane::ui::CameraTexts
