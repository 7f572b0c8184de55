#pragma once

#include <string>
#include <string_view>

#include "core/t_state.h"

// The error when the ICU data lack the code page (a broken installation).
inline constexpr const char* CodePageMissingText = "The windows-1252 code page is not available";

// RecLabel is stored in windows-1252. Setting converts at most the first 255 UTF-16 code units; a character
// outside the code page becomes a similar one where one exists, otherwise '?'. Only the length byte and the
// first min(length, 100) bytes are written; the rest of the field keeps what it held.
void SetRecLabel(TState& state, std::u16string_view text);

// The label as text: the length byte's count of bytes (at most 100, whatever the byte says).
std::u16string RecLabelText(const TState& state);
