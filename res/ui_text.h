// Every text the program shows, in one place. The sources are UTF-8; the compiler turns the
// literals into Shift_JIS bytes (code page 932) for the ANSI message boxes.
#pragma once

extern const char kAppName[];           // caption of the error boxes, the window class
extern const char kTextClassFailed[];   // the window class could not be registered
extern const char kTextWindowFailed[];  // the dialog could not be created
extern const char kTextBootMenuInfo[];  // the loader's menu will ask at the next start
extern const char kCaptionBootMenuInfo[];
extern const char kTextAbout[];
extern const char kCaptionAbout[];
extern const char kTextNotWrittenNoRestart[];  // switch: a write failed, nothing restarts
extern const char kTextRestartRefused[];       // switch: written, but the restart was refused
extern const char kTextNotWritten[];           // choose at start-up: a write failed
// "default" names the new system but "timeout" could not be written: the file is half
// changed, and the next ordinary start boots the new system after the old wait.
extern const char kTextOnlyDefaultWrittenNoRestart[];  // switch
extern const char kTextOnlyDefaultWritten[];           // choose at start-up
