#include "prep/counting_text.h"

#include "prep/work_text_rules.h"

namespace quillet {

namespace {

// One row per rule, in the order they are applied; repeated rows are
// meant (two passes of "two blanks to one" shorten runs of up to four,
// three passes runs of up to eight). In the Chinese list every "的" first
// becomes "〓", which the rebuilt text no longer holds, so that "的确",
// "标的" and "目的" can be restored before the rest become blanks.
// Non-ASCII bytes are GBK; the comment shows each row as text, ␣ for a
// blank.
constexpr ReplacementRule kChineseCountRules[] = {
    {"\xA1\xFE", ""},                            //  1  〓 -> (nothing)
    {"\xA1\xA3", " "},                           //  2  。 -> ␣
    {"\xA3\xAC", " "},                           //  3  ， -> ␣
    {"\xA1\xA2", " "},                           //  4  、 -> ␣
    {"\xA1\xAD\xA1\xAD", " "},                   //  5  …… -> ␣
    {"\xA1\xB0", " "},                           //  6  “ -> ␣
    {"\xA1\xB1", " "},                           //  7  ” -> ␣
    {"\xA3\xBA", " "},                           //  8  ： -> ␣
    {"\xA3\xA1", " "},                           //  9  ！ -> ␣
    {"\xA1\xAE", " "},                           // 10  ‘ -> ␣
    {"\xA1\xAF", " "},                           // 11  ’ -> ␣
    {"\xA3\xA8", " "},                           // 12  （ -> ␣
    {"\xA3\xA9", " "},                           // 13  ） -> ␣
    {"\xA3\xBB", " "},                           // 14  ； -> ␣
    {"\xA3\xBF", " "},                           // 15  ？ -> ␣
    {",", " "},                                  // 16  , -> ␣
    {"\xA1\xA1", " "},                           // 17  　 -> ␣
    {"\xA1\xAA", " "},                           // 18  — -> ␣
    {"0", " "},                                  // 19  0 -> ␣
    {"1", " "},                                  // 20  1 -> ␣
    {"2", " "},                                  // 21  2 -> ␣
    {"3", " "},                                  // 22  3 -> ␣
    {"4", " "},                                  // 23  4 -> ␣
    {"5", " "},                                  // 24  5 -> ␣
    {"6", " "},                                  // 25  6 -> ␣
    {"7", " "},                                  // 26  7 -> ␣
    {"8", " "},                                  // 27  8 -> ␣
    {"9", " "},                                  // 28  9 -> ␣
    {"  ", " "},                                 // 29  ␣␣ -> ␣
    {"  ", " "},                                 // 30  ␣␣ -> ␣
    {"\xB5\xC4", "\xA1\xFE"},                    // 31  的 -> 〓
    {"\xA1\xFE\xC8\xB7", "\xB5\xC4\xC8\xB7"},    // 32  〓确 -> 的确
    {"\xB1\xEA\xA1\xFE", "\xB1\xEA\xB5\xC4"},    // 33  标〓 -> 标的
    {"\xC4\xBF\xA1\xFE", "\xC4\xBF\xB5\xC4"},    // 34  目〓 -> 目的
    {"\xA1\xFE", " "},                           // 35  〓 -> ␣
    {"\xB8\xC4\xB8\xEF", " \xB8\xC4\xB8\xEF "},  // 36  改革 -> ␣改革␣
    {"\xD6\xC6\xB6\xC8", " \xD6\xC6\xB6\xC8 "},  // 37  制度 -> ␣制度␣
};

constexpr ReplacementRule kEnglishCountRules[] = {
    {"\xA1\xFE", ""},      //  1  〓 -> (nothing)
    {".", " "},            //  2  . -> ␣
    {",", " "},            //  3  , -> ␣
    {"\"", " "},           //  4  " -> ␣
    {":", " "},            //  5  : -> ␣
    {"!", " "},            //  6  ! -> ␣
    {"(", " "},            //  7  ( -> ␣
    {")", " "},            //  8  ) -> ␣
    {";", " "},            //  9  ; -> ␣
    {"?", " "},            // 10  ? -> ␣
    {"'", " "},            // 11  ' -> ␣
    {"  ", " "},           // 12  ␣␣ -> ␣
    {"  ", " "},           // 13  ␣␣ -> ␣
    {"  ", " "},           // 14  ␣␣ -> ␣
    {" of ", " "},         // 15  ␣of␣ -> ␣
    {" a ", " "},          // 16  ␣a␣ -> ␣
    {" the ", " "},        // 17  ␣the␣ -> ␣
    {" or ", " "},         // 18  ␣or␣ -> ␣
    {" in ", " "},         // 19  ␣in␣ -> ␣
    {" to ", " "},         // 20  ␣to␣ -> ␣
    {" and ", " "},        // 21  ␣and␣ -> ␣
    {" an ", " "},         // 22  ␣an␣ -> ␣
    {" with ", " "},       // 23  ␣with␣ -> ␣
    {" that ", " "},       // 24  ␣that␣ -> ␣
    {" by ", " "},         // 25  ␣by␣ -> ␣
    {" for ", " "},        // 26  ␣for␣ -> ␣
    {" as ", " "},         // 27  ␣as␣ -> ␣
    {" having ", " "},     // 28  ␣having␣ -> ␣
    {" on ", " "},         // 29  ␣on␣ -> ␣
    {" from ", " "},       // 30  ␣from␣ -> ␣
    {" who ", " "},        // 31  ␣who␣ -> ␣
    {" is ", " "},         // 32  ␣is␣ -> ␣
    {" used ", " "},       // 33  ␣used␣ -> ␣
    {" one ", " "},        // 34  ␣one␣ -> ␣
    {" not ", " "},        // 35  ␣not␣ -> ␣
    {" s ", " "},          // 36  ␣s␣ -> ␣
    {" any ", " "},        // 37  ␣any␣ -> ␣
    {" at ", " "},         // 38  ␣at␣ -> ␣
    {" be ", " "},         // 39  ␣be␣ -> ␣
    {" which ", " "},      // 40  ␣which␣ -> ␣
    {" something ", " "},  // 41  ␣something␣ -> ␣
    {" being ", " "},      // 42  ␣being␣ -> ␣
    {" into ", " "},       // 43  ␣into␣ -> ␣
    {" he ", " "},         // 44  ␣he␣ -> ␣
    {" are ", " "},        // 45  ␣are␣ -> ␣
    {" she ", " "},        // 46  ␣she␣ -> ␣
    {" what ", " "},       // 47  ␣what␣ -> ␣
    {" it ", " "},         // 48  ␣it␣ -> ␣
    {" its ", " "},        // 49  ␣its␣ -> ␣
    {" than ", " "},       // 50  ␣than␣ -> ␣
    {" has ", " "},        // 51  ␣has␣ -> ␣
    {" but ", " "},        // 52  ␣but␣ -> ␣
    {" said ", " "},       // 53  ␣said␣ -> ␣
    {"0", " "},            // 54  0 -> ␣
    {"1", " "},            // 55  1 -> ␣
    {"2", " "},            // 56  2 -> ␣
    {"3", " "},            // 57  3 -> ␣
    {"4", " "},            // 58  4 -> ␣
    {"5", " "},            // 59  5 -> ␣
    {"6", " "},            // 60  6 -> ␣
    {"7", " "},            // 61  7 -> ␣
    {"8", " "},            // 62  8 -> ␣
    {"9", " "},            // 63  9 -> ␣
    {"  ", " "},           // 64  ␣␣ -> ␣
    {"  ", " "},           // 65  ␣␣ -> ␣
    {"  ", " "},           // 66  ␣␣ -> ␣
    {" if ", " "},         // 67  ␣if␣ -> ␣
};

}  // namespace

const RuleList ChineseCountRules = kChineseCountRules;
const RuleList EnglishCountRules = kEnglishCountRules;

void MakeCountingText(Workspace& ws, Language language) {
  ApplyRulesToWorkText(ws, language == Language::kChinese ? ChineseCountRules
                                                          : EnglishCountRules);
}

}  // namespace quillet
