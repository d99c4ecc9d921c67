#pragma once
// Command ids of the main menu "MAINMENU".

#include "monitor/core/monitor_windows.h"

inline constexpr int kMenuSelectDevice = 1;
inline constexpr int kMenuAbout = 2;
inline constexpr int kMenuOpenAll = 3;
inline constexpr int kMenuAutoArrange = 4;
inline constexpr int kMenuPollNow = 9;
inline constexpr int kMenuConfigure = 10;
inline constexpr int kMenuSuspendPolling = 11;
inline constexpr int kMenuOpenDevice = 30;
inline constexpr int kMenuCloseDevice = 31;
inline constexpr int kMenuConfigureDevice = 32;
inline constexpr int kMenuExit = 101;
inline constexpr int kMenuArrangeIcons = 104;
inline constexpr int kMenuMinimizeAll = 107;
inline constexpr int kMenuStreaming = 40002;
inline constexpr int kMenuEnableCommunications = 40003;
inline constexpr int kMenuDisableCommunications = 40004;
inline constexpr int kMenuSetModemStatus = 40006;
inline constexpr int kMenuSendFrames = 40008;
inline constexpr int kMenuTe1Alarms = 40011;
inline constexpr int kMenuTe1Tests = 40012;
inline constexpr int kMenu56KStatus = 40013;
inline constexpr int kMenuReadRegister = 40014;
inline constexpr int kMenuFt1Status = 40015;
inline constexpr int kMenuFt1Statistics = 40016;
inline constexpr int kMenuFt1Configuration = 40017;
inline constexpr int kMenuAdvancedFt1 = 40018;
inline constexpr int kMenuMemoryDump = 40019;
