#include "prep/mark_sentences.h"

#include "prep/work_text_rules.h"

namespace quillet {

namespace {

// One row per rule, in the order they are applied; repeated rows are
// meant: a second pass of a pair-to-one rule catches what the first left,
// so two passes shorten runs of up to four. Non-ASCII bytes are GBK; the
// comment shows each row as text, ␣ for a blank.
constexpr ReplacementRule kChineseMarkRules[] = {
    {"\xD3\xEB\xB4\xCB\xCD\xAC\xCA\xB1\xA3\xAC", ""},          //  1  与此同时， -> (nothing)
    {"\xCB\xB5\xA3\xAC", "\xCB\xB5\xA1\xA3"},                  //  2  说， -> 说。
    {"\xD6\xB8\xB3\xF6\xA3\xAC", "\xD6\xB8\xB3\xF6\xA1\xA3"},  //  3  指出， -> 指出。
    {"\xB3\xC6\xA3\xAC", "\xB3\xC6\xA1\xA3"},                  //  4  称， -> 称。
    {"\xB1\xED\xCA\xBE\xA3\xAC", "\xB1\xED\xCA\xBE\xA1\xA3"},  //  5  表示， -> 表示。
    {"\xBD\xA8\xD2\xE9\xA3\xAC", "\xBD\xA8\xD2\xE9\xA1\xA3"},  //  6  建议， -> 建议。
    {"\xCD\xB8\xC2\xB6\xA3\xAC", "\xCD\xB8\xC2\xB6\xA1\xA3"},  //  7  透露， -> 透露。
    {"\xC8\xCF\xCE\xAA\xA3\xAC", "\xC8\xCF\xCE\xAA\xA1\xA3"},  //  8  认为， -> 认为。
    {"\xCF\xFB\xCF\xA2\xA3\xAC", "\xCF\xFB\xCF\xA2\xA1\xA3"},  //  9  消息， -> 消息。
    {"\xCC\xE1\xD0\xD1\xA3\xAC", "\xCC\xE1\xD0\xD1\xA1\xA3"},  // 10  提醒， -> 提醒。
    {"\xC7\xBF\xB5\xF7\xA3\xAC", "\xC7\xBF\xB5\xF7\xA1\xA3"},  // 11  强调， -> 强调。
    {"\xD2\xAA\xC7\xF3\xA3\xAC", "\xD2\xAA\xC7\xF3\xA1\xA3"},  // 12  要求， -> 要求。
    {"\xB1\xA8\xB5\xBC\xA3\xAC", "\xB1\xA8\xB5\xBC\xA1\xA3"},  // 13  报导， -> 报导。
    {",", "\xA3\xAC"},                                         // 14  , -> ，
    {". ", "\xA1\xA3"},                                        // 15  .␣ -> 。
    {"\r\n", "\xA1\xA3"},                                      // 16  CR LF -> 。
    {"\xA1\xA3\xA1\xA3", "\xA1\xA3"},                          // 17  。。 -> 。
    {"\xA1\xA3\xA1\xA3", "\xA1\xA3"},                          // 18  。。 -> 。
    {"\xA1\xA3", "\xA1\xA3\xA1\xFE"},                          // 19  。 -> 。〓
    {"\xA1\xA3\xA1\xFE\xA1\xB1", "\xA1\xA3\xA1\xB1\xA1\xFE"},  // 20  。〓” -> 。”〓
    {"\xA3\xA1", "\xA3\xA1\xA1\xFE"},                          // 21  ！ -> ！〓
    {"\xA1\xAD\xA1\xAD", "\xA1\xAD\xA1\xAD\xA1\xFE"},          // 22  …… -> ……〓
    {"\xA3\xBF", "\xA3\xBF\xA1\xFE"},                          // 23  ？ -> ？〓
    {"\xA3\xBB", "\xA3\xBB\xA1\xFE"},                          // 24  ； -> ；〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},                          // 25  〓〓 -> 〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},                          // 26  〓〓 -> 〓
    {"\xA3\xBA", "\xA3\xAC"},                                  // 27  ： -> ，
};

constexpr ReplacementRule kEnglishMarkRules[] = {
    {"'s ", " is "},                   //  1  's␣ -> ␣is␣
    {"that, ", "that. "},              //  2  that,␣ -> that.␣
    {"'t ", "  not "},                 //  3  't␣ -> ␣␣not␣
    {"\r\n", "."},                     //  4  CR LF -> .
    {", said ", ". "},                 //  5  ,␣said␣ -> .␣
    {"said, ", " said. "},             //  6  said,␣ -> ␣said.␣
    {", says ", ". "},                 //  7  ,␣says␣ -> .␣
    {"says, ", "says. "},              //  8  says,␣ -> says.␣
    {", say ", ". "},                  //  9  ,␣say␣ -> .␣
    {"say, ", "say. "},                // 10  say,␣ -> say.␣
    {"..", "."},                       // 11  .. -> .
    {"..", "."},                       // 12  .. -> .
    {".", ".\xA1\xFE"},                // 13  . -> .〓
    {".\xA1\xFE\"", ".\"\xA1\xFE"},    // 14  .〓" -> ."〓
    {"!", "!\xA1\xFE"},                // 15  ! -> !〓
    {"?", "?\xA1\xFE"},                // 16  ? -> ?〓
    {";", ";\xA1\xFE"},                // 17  ; -> ;〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},  // 18  〓〓 -> 〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},  // 19  〓〓 -> 〓
    {":", ","},                        // 20  : -> ,
};

}  // namespace

const RuleList ChineseMarkRules = kChineseMarkRules;
const RuleList EnglishMarkRules = kEnglishMarkRules;

void MarkSentences(Workspace& ws, Language language) {
  ApplyRulesToWorkText(ws, language == Language::kChinese ? ChineseMarkRules
                                                          : EnglishMarkRules);
}

}  // namespace quillet
