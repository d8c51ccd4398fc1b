// How tests drive the sample application, "another application" for Panelry.
//
// The sample application opens a hidden control window of class
// kControlClass whose title is the token given on its command line
// ("--token NAME"). A test sends it WM_COPYDATA with dwData kCommandData and
// a command as text: lines of "key=value", the first being "op=...". The
// result comes back as the message's return value.
//
//   op=open     class title style exstyle owner parent x y w h show tell -> window
//   op=title    hwnd text                  -> 1
//   op=titlew   hwnd hex (the title as UTF-16 units, four hex digits each,
//               set with SetWindowTextW; the windows are Unicode windows,
//               so it keeps characters the code page cannot write) -> 1
//   op=icon     hwnd which (0 none, 1..3 stock icons) -> 1 if it now has an icon
//   op=destroy  hwnd                       -> 1
//   op=show     hwnd cmd (ShowWindow)      -> 1
//   op=refuse   hwnd on (refuse WM_CLOSE and SC_CLOSE) -> 1
//   op=ask      hwnd on (on WM_CLOSE, a modal question titled kQuestionTitle;
//               the window closes once it is answered)   -> 1
//   op=meddle   hwnd other (on hwnd's next WM_WINDOWPOSCHANGED, which comes
//               while Panelry waits for this application, sends Panelry's
//               main window PM_NEWWINDOW for other, then the command
//               "close all tabs")                           -> 1
//   op=spawn    hwnd (on hwnd's next WM_WINDOWPOSCHANGED, opens a new
//               visible top-level window)                  -> 1
//   op=placement hwnd (logs the window's own view of its placement) -> 1
//   op=hang     ms (stop answering messages for ms)     -> 1
//   op=quit                                -> 1
//
// Every show that makes a window visible (op=open, op=show, the windows it
// opens by itself) raises EVENT_OBJECT_SHOW for it, as Windows does, where
// Wine 8 raises none that another process's hook would get; op=open with
// tell=0 shows the window unreported, as under Wine.
//
// Started without "--token" (as a launcher starts it) it also opens one
// visible window of class kLaunchedClass titled "launched".
//
// With "--owned-splash" as well, that window is made hidden and first shows a
// window of class kSplashClass that it owns; the splash goes after a moment
// and the window shows.
//
// With "--open CLASS:TITLE" (any number of times) it opens a visible window
// of each at start, after its control window.
//
// With "--splash CLASS:TITLE" it opens that window first and the "--open"
// windows only once another program has taken the splash window (made it
// the child of one of its own), which it then destroys.
//
// With "--guard" its process grants other processes only a limited query,
// reading its memory, waiting for it and ending it, as an elevated program
// answers one that is not.
//
// With "--log PATH" it appends one line per event it received:
//   close <hwnd>          a WM_CLOSE or SC_CLOSE request (refused or not)
//   question <hwnd>       the question of a window that asks is on the screen
//   answered <hwnd>       and has been answered
//   meddled <hwnd>        the meddling requests went out
//   spawned <hwnd> <new>  hwnd's position change opened window new
//   dropmsg <hwnd> <n>    WM_DROPFILES arrived, holding n readable files
//   drop <hwnd> <path>    a file dropped on the window
//   destroyed <hwnd>      the window was destroyed
//   placement <hwnd> <showCmd> <left> <top> <right> <bottom>
#pragma once

namespace sample {
inline constexpr char kControlClass[] = "panelry_sample_control";
inline constexpr char kLaunchedClass[] = "PanelrySampleLaunched";
inline constexpr char kSplashClass[] = "PanelrySampleSplash";
inline constexpr unsigned long kCommandData = 0x53414D50;  // "SAMP"
inline constexpr char kQuestionTitle[] = "sample question";
}  // namespace sample
