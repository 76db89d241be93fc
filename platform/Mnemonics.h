#pragma once
#include <string>
#include <vector>

namespace platform {

/// The mnemonic of a caption: the character after a single "&" ("&&" is a literal ampersand),
/// folded to lower case; 0 when the caption marks none.
char32_t MnemonicOf(const std::string& caption);

/// The captions of one group of controls (those reachable at once, e.g. one tab and the
/// buttons below it), each with a mnemonic unique in the group. A caption that marks one
/// already keeps it; every other gets an "&" before its first free letter, the first letters of
/// its words before the others, letters before digits. `taken` holds the mnemonics already used
/// in the group (lower case). A caption without a free letter or digit stays as it is.
std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions, std::u32string taken = {});

}  // namespace platform
