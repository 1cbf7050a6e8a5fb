// The foundation library's error boxes, shown as the program's message boxes.
#pragma once

#include <cstdint>

/// Shows \p text under \p caption with the buttons and icon of a Windows
/// message-box \p type and returns the Windows number of the button
/// pressed. Types our boxes lack map to OK/Cancel: OK retries, Cancel
/// ignores (Abort/Retry/Ignore) or cancels (Retry/Cancel); never Abort.
int32_t ShowFoundationMessageBox(const char16_t* text, const char16_t* caption, uint32_t type);
