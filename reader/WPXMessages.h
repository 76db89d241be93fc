#pragma once
#include <functional>
#include <string>
#include <vector>

/// Message ids of the definition-file checker and the preview; the texts live in the language
/// libraries, and the reader reaches them through a text function given by the caller.
namespace wpx {

enum Message : int {
    kUnknownKeyword = 60400,  ///< %1 the word
    kUnterminatedQuote = 60401,
    kEndNameDiffers = 60402,     ///< %1 END's name, %2 the block's name, %3 the block's line
    kMissingEnd = 60403,         ///< %1 keyword, %2 name
    kStrayEnd = 60404,           ///< %1 END's name
    kMalformed = 60405,          ///< %1 keyword, %2 the form expected
    kUndefined = 60406,          ///< %1 keyword of the kind, %2 name
    kNoEndpoint = 60407,         ///< %1 the end named, %2 the process
    kDuplicate = 60408,          ///< %1 keyword, %2 name, %3 line of the first
    kDuplicateActivity = 60409,  ///< %1 name, %2 process, %3 line of the first
    kNameTooLong = 60410,        ///< %1 name
    kEmptyName = 60411,          ///< %1 keyword
    kOutsideWindow = 60412,      ///< %1 x, %2 y, %3 width, %4 height
    kBareLineEnd = 60413,
    kMemberWithoutSemicolon = 60414,  ///< %1 member name
    kNoCodepage = 60415,
    kSeverityError = 60416,
    kSeverityWarning = 60417,
    kCannotRead = 60418,          ///< %1 file
    kCheckCounts = 60419,         ///< %1 errors, %2 warnings
    kPreviewWritten = 60420,      ///< %1 folder
    kPreviewCannotWrite = 60421,  ///< %1 folder
    kPageTitle = 60422,           ///< %1 file
    kPageProcesses = 60423,
    kPageConstructs = 60424,
    kPageFindings = 60425,
    kPageNoFindings = 60426,
    kPageActivities = 60427,
    kPageConnectors = 60428,
    kPageListing = 60429,
    kPageKind = 60430,
    kPageCount = 60431,
    kPageProcess = 60432,
    kNotInCodepage = 60433,  ///< %1 code page
};

/// The text of a message id in the user's language (placeholders "%1$s".."%4$s" unfilled).
using TextFunction = std::function<std::string(int id)>;

/// A message text with its placeholders filled from `params` (an empty parameter too).
std::string FillPlaceholders(const std::string& text, const std::vector<std::string>& params);

}  // namespace wpx
