#pragma once

// The program's internal broadcasts, carried by the message bus to every
// registered window.
namespace bus {

inline constexpr int kProgress = 0x1406;       // wParam action, lParam the download progress record
inline constexpr int kStatProgress = 0x140B;   // wParam the StatProgress, lParam the notification's time
inline constexpr int kProjectOpened = 0x141B;  // wParam 1
inline constexpr int kProjectClosing = 0x141C;
inline constexpr int kRunningChanged = 0x141E;  // wParam 1 online, 0 offline
inline constexpr int kTaskChanged = 0x1429;     // lParam the task record
inline constexpr int kTaskAdded = 0x142A;       // lParam the task record
inline constexpr int kPingState = 0x1430;       // wParam the state
inline constexpr int kProjectPropsChanged = 0x1432;
inline constexpr int kItemAdded = 0x1433;  // wParam the item record, lParam its resource id
inline constexpr int kItemChanged = 0x1434;
inline constexpr int kItemRemoved = 0x1435;
inline constexpr int kPromptIncomplete = 0x143E;
inline constexpr int kHintGoOnline = 0x143F;

}  // namespace bus
