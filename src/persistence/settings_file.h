// The settings file: the two volumes and the chosen tune.
#pragma once

constexpr const char *SETTINGS_FILE = "data/setting.pta";

void readSettings();
bool writeSettings();
