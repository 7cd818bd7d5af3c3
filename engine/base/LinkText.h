#pragma once

#include <string>
#include <string_view>

namespace eng {

// A link as a page writes it (an attribute value, character references and
// all) read as browsers read it, ready to be resolved: the page's bytes in
// its charset (as iconv names it; empty for UTF-8) become UTF-8, character
// references are decoded, and the query, from the first '?' to any '#', goes
// back into the page's charset, since servers read a query in the charset of
// the page that made it. A UTF-8 page's link keeps its bytes as written.
std::string linkText(std::string_view value, std::string_view charset);

// A url(...) or @import value of a style sheet read the same way, but that
// CSS escapes are read where character references would be. In a style
// attribute (inAttribute) references are decoded first, and quotes that
// references wrote around the value (url(&quot;a.png&quot;)) are dropped.
std::string cssLinkText(std::string_view value, std::string_view charset, bool inAttribute);

}  // namespace eng
