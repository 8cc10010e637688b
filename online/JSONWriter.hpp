#pragma once
// JSON text as the game and the score server write it.
#include <string>
#include <string_view>

namespace quintora {

// Appends `text` as a quoted JSON string. Everything past printable ASCII is written as \u escapes, so the
// result reads the same whether its reader takes it as UTF-8 or byte by byte; each ill-formed part of
// `text` becomes U+FFFD, as the JSON reader turns what names no character.
void appendJSONString(std::string& out, std::string_view text);

}  // namespace quintora
