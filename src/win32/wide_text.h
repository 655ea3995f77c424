// The program's text is UTF-8; the wide calls of Windows take UTF-16. These are the conversions at
// that boundary, and the ones for text that comes in or goes out in the ANSI code page.
#pragma once

#include <string>
#include <string_view>

// UTF-8 to UTF-16. A byte that is no part of valid UTF-8 becomes U+FFFD.
std::wstring toWide(std::string_view utf8);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD: check with hasUnpairedSurrogate first where
// that would lose text.
std::string toUtf8(std::wstring_view wide);
std::string toUtf8(const wchar_t *wide);

// Whether the text holds a high surrogate without its low half or a low one without its high half.
bool hasUnpairedSurrogate(std::wstring_view wide);

// Text in the ANSI code page to UTF-8.
std::string ansiToUtf8(std::string_view ansi);

// Text that a user may have saved either way (a list the program reads): valid UTF-8 as it is,
// anything else read as the ANSI code page.
std::string utf8OrAnsiToUtf8(std::string_view bytes);

// Text for a file that earlier versions wrote in the ANSI code page: the ANSI bytes when every
// character has one there, else the UTF-8 itself, so that no character is lost.
std::string ansiWhereItFits(std::string_view utf8);

// The full path as the system makes it of a path it is given (GetFullPathNameW): "." and ".."
// parts resolved, forward slashes turned into backslashes, trailing dots and blanks of the last part
// taken off. The path itself where the system cannot. A path that the system would take for a device
// ("C:\src\aux.txt") is the file of that name in its folder, not "\\.\AUX".
std::wstring fullPath(std::string_view utf8Path);

// Whether the last part of a path is one of the names that Windows reads as a device (CON, PRN, AUX,
// NUL, COM0-9, LPT0-9, CONIN$, CONOUT$), alone or before an extension ("aux.txt", "com1.c"), in any
// letter case and with trailing blanks or a colon.
bool namesDosDevice(std::wstring_view path);

// A path for the wide file calls. A path of MAX_PATH characters or more (a name of 255 characters
// inside a folder is already that long), or one with a folder part whose last part Windows would take
// for a device (a file "C:\src\aux.txt" made on another system; ".\aux.txt" in the working folder), is
// normalized as the system would and gets the prefix that makes it a plain file name: "\\?\" before a drive
// letter, "\\?\UNC\" in place of the "\\" of a network path. Every other path goes as it is, so the system
// reads it as it always has.
std::wstring widePath(std::string_view utf8Path);

// The same for a folder to be made: CreateDirectoryW leaves room for an 8.3 name inside the folder,
// so without the prefix it fails from 248 characters (MAX_PATH - 12), not from MAX_PATH.
std::wstring wideFolderPath(std::string_view utf8Path);
