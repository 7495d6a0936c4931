// Desktop GLSL (1.50 core) shader text as GLSL ES 3.00, the language WebGL 2
// compiles: the browser build loads the same Shader/ files through this.
#pragma once

#include <string>
#include <string_view>

// The #version directive becomes "#version 300 es" (one is put first when
// the text has none) and default precisions for float, int and sampler2D are
// declared before the first line that is neither a directive, a comment nor
// blank. When that line sits inside a conditional group, they go before the
// outermost open group's opening #if, so every branch sees them. Directives
// above that point, such as an #extension in an #ifdef block closed before
// the first declaration, therefore stay before the precisions; nothing is
// moved, so an #extension inside the group that holds the first declaration,
// or below it, ends up after them. Everything else is copied unchanged.
std::string glslEsSource(std::string_view desktopSource);
