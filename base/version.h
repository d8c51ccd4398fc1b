// The program's version, written here and nowhere else. The settings
// dialog's version page shows it; the build and scripts/package.sh read
// these two lines to name the release (panelry-<major>.<minor>.zip), so
// they stay plain defines of plain numbers.
#pragma once

#define PANELRY_VERSION_MAJOR 4
#define PANELRY_VERSION_MINOR 2
