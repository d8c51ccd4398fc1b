// Identifiers of the application core.
#pragma once

namespace app_ids {
// On the main window: the cMain that runs it.
inline constexpr char kMainProperty[] = "panelry_main_prop";

// The notice near the notification area, and the object behind it.
inline constexpr char kNoticeClass[] = "panelry_notice_class";
inline constexpr char kNoticeProperty[] = "panelry_notice_prop";

// Held by the running instance from its first moment, so that of two starts
// at the same moment only one goes on.
inline constexpr char kInstanceMutex[] = "Local\\panelry_instance";

// Broadcast by the shell when it (re)starts: notification-area icons are to
// be added again.
inline constexpr char kTaskbarCreated[] = "TaskbarCreated";

// The C runtime's abort setter, looked up because not every msvcrt.dll has it.
inline constexpr char kRuntimeModule[] = "msvcrt.dll";
inline constexpr char kSetAbortBehavior[] = "_set_abort_behavior";
}  // namespace app_ids
