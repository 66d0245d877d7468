#include "prep/mark_sentences.h"

#include "text/rule_list.h"

namespace quillet {

namespace {

// One row per rule, in the order they are applied; repeated rows are
// meant: a second pass of a pair-to-one rule catches what the first left,
// so two passes shorten runs of up to four. Each row gives the sought
// text and its replacement as GBK bytes; the comment shows them as text, ␣
// for a blank.
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
    {"\x2C", "\xA3\xAC"},                                      // 14  , -> ，
    {"\x2E\x20", "\xA1\xA3"},                                  // 15  .␣ -> 。
    {"\x0D\x0A", "\xA1\xA3"},                                  // 16  CR LF -> 。
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
    {"\x27\x73\x20", "\x20\x69\x73\x20"},                          //  1  's␣ -> ␣is␣
    {"\x74\x68\x61\x74\x2C\x20", "\x74\x68\x61\x74\x2E\x20"},      //  2  that,␣ -> that.␣
    {"\x27\x74\x20", "\x20\x20\x6E\x6F\x74\x20"},                  //  3  't␣ -> ␣␣not␣
    {"\x0D\x0A", "\x2E"},                                          //  4  CR LF -> .
    {"\x2C\x20\x73\x61\x69\x64\x20", "\x2E\x20"},                  //  5  ,␣said␣ -> .␣
    {"\x73\x61\x69\x64\x2C\x20", "\x20\x73\x61\x69\x64\x2E\x20"},  //  6  said,␣ -> ␣said.␣
    {"\x2C\x20\x73\x61\x79\x73\x20", "\x2E\x20"},                  //  7  ,␣says␣ -> .␣
    {"\x73\x61\x79\x73\x2C\x20", "\x73\x61\x79\x73\x2E\x20"},      //  8  says,␣ -> says.␣
    {"\x2C\x20\x73\x61\x79\x20", "\x2E\x20"},                      //  9  ,␣say␣ -> .␣
    {"\x73\x61\x79\x2C\x20", "\x73\x61\x79\x2E\x20"},              // 10  say,␣ -> say.␣
    {"\x2E\x2E", "\x2E"},                                          // 11  .. -> .
    {"\x2E\x2E", "\x2E"},                                          // 12  .. -> .
    {"\x2E", "\x2E\xA1\xFE"},                                      // 13  . -> .〓
    {"\x2E\xA1\xFE\x22", "\x2E\x22\xA1\xFE"},                      // 14  .〓" -> ."〓
    {"\x21", "\x21\xA1\xFE"},                                      // 15  ! -> !〓
    {"\x3F", "\x3F\xA1\xFE"},                                      // 16  ? -> ?〓
    {"\x3B", "\x3B\xA1\xFE"},                                      // 17  ; -> ;〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},                              // 18  〓〓 -> 〓
    {"\xA1\xFE\xA1\xFE", "\xA1\xFE"},                              // 19  〓〓 -> 〓
    {"\x3A", "\x2C"},                                              // 20  : -> ,
};

}  // namespace

const RuleList ChineseMarkRules = kChineseMarkRules;
const RuleList EnglishMarkRules = kEnglishMarkRules;

void MarkSentences(Workspace& ws, Language language) {
  ApplyRules(ws.WorkText, language == Language::kChinese ? ChineseMarkRules
                                                        : EnglishMarkRules);
}

}  // namespace quillet
