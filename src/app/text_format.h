#pragma once
// Fills the %d, %x and %s places of a message text. The texts come from a file that anyone
// can edit, so this never hands them to printf: any directive is safe, a place without an
// argument (or with one of the other type) never reads memory it should not, and a directive
// it does not know is copied as it stands.
//
// Understood: %% and the conversions d i u x X o c s S with the flags "-" "0" "+" " ", a
// width, a precision and the length letters h l L q j z t I32 I64 (ignored). Numbers are
// 64-bit; an unsigned conversion of a negative number shows its 32-bit pattern, as for an int.

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace kovantis {

using FormatArgument = std::variant<long long, std::u16string_view>;

std::u16string FormatText(std::u16string_view format,
                          std::initializer_list<FormatArgument> arguments);

} // namespace kovantis
