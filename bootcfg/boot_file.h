// The boot loader's configuration file and the two settings Brisvane writes to it.
#pragma once

#include "../platform/platform.h"

// The loader reads this exact file at every start; no other location is ever tried.
extern const char kBootFilePath[];
extern const char kLoaderSection[];  // written with the profile service, without brackets
extern const char kSystemsHeader[];  // read line by line, compared byte for byte

// The three menu timeouts the program ever writes.
extern const char kTimeoutRestartNow[];  // "0": start the chosen system without waiting
extern const char kTimeoutAskAtStart[];  // "-1": the loader's menu waits for the user
extern const char kTimeoutReset[];       // "30": the command-line reset

// Writes "default" = bootPath in the loader's section of the existing boot file. Returns
// TRUE when the key now holds bootPath, FALSE when the file could not be written or does not
// exist (it is never created). A read-only, hidden or system file is written all the same and
// keeps its attributes.
BOOL SetDefaultSystem(const char* bootPath);

// Writes "timeout" = value in the loader's section; returns as SetDefaultSystem.
BOOL SetMenuTimeout(const char* value);
