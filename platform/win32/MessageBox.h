#pragma once
// Message boxes. There is no dialog on this platform: the box is written to standard
// error and answered at once with its default (first) button, so a program that shows
// one never waits for a user. Callers that want the text in the engine log write it there
// themselves.

// Button sets (low four bits of the type).
const unsigned MB_OK = 0x00000000u;
const unsigned MB_OKCANCEL = 0x00000001u;
const unsigned MB_YESNO = 0x00000004u;
// Icons.
const unsigned MB_ICONHAND = 0x00000010u;
const unsigned MB_ICONINFORMATION = 0x00000040u;

// Answers.
const int IDOK = 1;
const int IDCANCEL = 2;
const int IDYES = 6;
const int IDNO = 7;

// Shows text under caption (null caption: "Error") and returns the button pressed: IDOK
// for MB_OK and MB_OKCANCEL, IDYES for MB_YESNO. owner is ignored.
int MessageBoxA(void* owner, const char* text, const char* caption, unsigned type);
