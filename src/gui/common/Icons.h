#pragma once

class QIcon;

namespace quirtel {

// Paths of the program's icons in its Qt resources.
inline constexpr char PROGRAM_ICON_PATH[] = ":/icons/quirtel.svg";
inline constexpr char PROGRAM_ICON_SMALL_PATH[] = ":/icons/quirtel-16.svg";
inline constexpr char START_ICON_PATH[] = ":/icons/start.svg";
inline constexpr char FINISH_ICON_PATH[] = ":/icons/finish.svg";
inline constexpr char ABORT_ICON_PATH[] = ":/icons/abort.svg";

// Makes the resources of the static GUI library available. The icon functions
// below call it; code that opens the resource paths directly calls it once first.
void InitResources();

// The program's icon (keyboard keys seen at a slant), with a simpler drawing for
// sizes of 16 to 22 pixels.
QIcon ProgramIcon();
// Toolbar images: a traffic light with the green lamp lit, one with the red lamp
// lit, and a stop sign.
QIcon StartIcon();
QIcon FinishIcon();
QIcon AbortIcon();

}  // namespace quirtel
