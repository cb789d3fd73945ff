#pragma once
// Texts with numbered places, "{0} to {1}": the arguments fill them in order, so a
// translation may put them where its grammar wants them. No printf: an argument holding
// '%' or '{' stays as it is.
#include <initializer_list>
#include <string>
#include <string_view>

namespace tavelo {

std::string FillPlaceholders(std::string_view text, std::initializer_list<std::string_view> args);

}  // namespace tavelo
