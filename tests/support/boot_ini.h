// Sample boot files for the tests, in the layout Setup writes: CR LF line ends, "[boot loader]"
// with its timeout before its default, then "[operating systems]". Header only and free of any
// test framework, so that the Linux tests, the tests under Wine and the fuzzers share it.
#pragma once

#include <string>

namespace sample {

// The boot paths Setup writes for the systems most files in the field hold.
inline constexpr char kXpPath[] = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS";
inline constexpr char k2000Path[] = "multi(0)disk(0)rdisk(0)partition(2)\\WINNT";
// An earlier system on the boot volume itself, as "C:\" names it.
inline constexpr char kDosPath[] = "C:\\";

// One line of [operating systems]: path="description", then the switches if any, then CR LF.
inline std::string OsLine(const std::string& path, const std::string& description,
                          const std::string& switches = "") {
  return path + "=\"" + description + "\"" + (switches.empty() ? "" : " " + switches) + "\r\n";
}

// The systems of a file as Setup writes it for XP beside 2000 and an earlier system on C:.
inline std::string SetupSystems() {
  return OsLine(kXpPath, "Microsoft Windows XP Professional", "/noexecute=optin /fastdetect") +
         OsLine(k2000Path, "Windows 2000", "/fastdetect") + OsLine(kDosPath, "Microsoft Windows");
}

// A whole boot file: "[boot loader]", timeout=`timeout`, default=`deflt`, "[operating
// systems]", then `systems` exactly as given.
inline std::string BootIni(const std::string& timeout, const std::string& deflt,
                           const std::string& systems) {
  return "[boot loader]\r\ntimeout=" + timeout + "\r\ndefault=" + deflt +
         "\r\n[operating systems]\r\n" + systems;
}

}  // namespace sample
