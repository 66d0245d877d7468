#include "prep/counting_text.h"

#include "text/rule_list.h"

namespace quillet {

namespace {

// One row per rule, in the order they are applied; repeated rows are
// meant (two passes of "two blanks to one" shorten runs of up to four,
// three passes runs of up to eight). In the Chinese list every "的" first
// becomes "〓", which the rebuilt text no longer holds, so that "的确",
// "标的" and "目的" can be restored before the rest become blanks.
// Each row gives the sought text and its replacement as GBK bytes; the
// comment shows them as text, ␣ for a blank.
constexpr ReplacementRule kChineseCountRules[] = {
    {"\xA1\xFE", ""},                                  //  1  〓 -> (nothing)
    {"\xA1\xA3", "\x20"},                              //  2  。 -> ␣
    {"\xA3\xAC", "\x20"},                              //  3  ， -> ␣
    {"\xA1\xA2", "\x20"},                              //  4  、 -> ␣
    {"\xA1\xAD\xA1\xAD", "\x20"},                      //  5  …… -> ␣
    {"\xA1\xB0", "\x20"},                              //  6  “ -> ␣
    {"\xA1\xB1", "\x20"},                              //  7  ” -> ␣
    {"\xA3\xBA", "\x20"},                              //  8  ： -> ␣
    {"\xA3\xA1", "\x20"},                              //  9  ！ -> ␣
    {"\xA1\xAE", "\x20"},                              // 10  ‘ -> ␣
    {"\xA1\xAF", "\x20"},                              // 11  ’ -> ␣
    {"\xA3\xA8", "\x20"},                              // 12  （ -> ␣
    {"\xA3\xA9", "\x20"},                              // 13  ） -> ␣
    {"\xA3\xBB", "\x20"},                              // 14  ； -> ␣
    {"\xA3\xBF", "\x20"},                              // 15  ？ -> ␣
    {"\x2C", "\x20"},                                  // 16  , -> ␣
    {"\xA1\xA1", "\x20"},                              // 17  ideographic space -> ␣
    {"\xA1\xAA", "\x20"},                              // 18  — -> ␣
    {"\x30", "\x20"},                                  // 19  0 -> ␣
    {"\x31", "\x20"},                                  // 20  1 -> ␣
    {"\x32", "\x20"},                                  // 21  2 -> ␣
    {"\x33", "\x20"},                                  // 22  3 -> ␣
    {"\x34", "\x20"},                                  // 23  4 -> ␣
    {"\x35", "\x20"},                                  // 24  5 -> ␣
    {"\x36", "\x20"},                                  // 25  6 -> ␣
    {"\x37", "\x20"},                                  // 26  7 -> ␣
    {"\x38", "\x20"},                                  // 27  8 -> ␣
    {"\x39", "\x20"},                                  // 28  9 -> ␣
    {"\x20\x20", "\x20"},                              // 29  ␣␣ -> ␣
    {"\x20\x20", "\x20"},                              // 30  ␣␣ -> ␣
    {"\xB5\xC4", "\xA1\xFE"},                          // 31  的 -> 〓
    {"\xA1\xFE\xC8\xB7", "\xB5\xC4\xC8\xB7"},          // 32  〓确 -> 的确
    {"\xB1\xEA\xA1\xFE", "\xB1\xEA\xB5\xC4"},          // 33  标〓 -> 标的
    {"\xC4\xBF\xA1\xFE", "\xC4\xBF\xB5\xC4"},          // 34  目〓 -> 目的
    {"\xA1\xFE", "\x20"},                              // 35  〓 -> ␣
    {"\xB8\xC4\xB8\xEF", "\x20\xB8\xC4\xB8\xEF\x20"},  // 36  改革 -> ␣改革␣
    {"\xD6\xC6\xB6\xC8", "\x20\xD6\xC6\xB6\xC8\x20"},  // 37  制度 -> ␣制度␣
};

constexpr ReplacementRule kEnglishCountRules[] = {
    {"\xA1\xFE", ""},                                          //  1  〓 -> (nothing)
    {"\x2E", "\x20"},                                          //  2  . -> ␣
    {"\x2C", "\x20"},                                          //  3  , -> ␣
    {"\x22", "\x20"},                                          //  4  " -> ␣
    {"\x3A", "\x20"},                                          //  5  : -> ␣
    {"\x21", "\x20"},                                          //  6  ! -> ␣
    {"\x28", "\x20"},                                          //  7  ( -> ␣
    {"\x29", "\x20"},                                          //  8  ) -> ␣
    {"\x3B", "\x20"},                                          //  9  ; -> ␣
    {"\x3F", "\x20"},                                          // 10  ? -> ␣
    {"\x27", "\x20"},                                          // 11  ' -> ␣
    {"\x20\x20", "\x20"},                                      // 12  ␣␣ -> ␣
    {"\x20\x20", "\x20"},                                      // 13  ␣␣ -> ␣
    {"\x20\x20", "\x20"},                                      // 14  ␣␣ -> ␣
    {"\x20\x6F\x66\x20", "\x20"},                              // 15  ␣of␣ -> ␣
    {"\x20\x61\x20", "\x20"},                                  // 16  ␣a␣ -> ␣
    {"\x20\x74\x68\x65\x20", "\x20"},                          // 17  ␣the␣ -> ␣
    {"\x20\x6F\x72\x20", "\x20"},                              // 18  ␣or␣ -> ␣
    {"\x20\x69\x6E\x20", "\x20"},                              // 19  ␣in␣ -> ␣
    {"\x20\x74\x6F\x20", "\x20"},                              // 20  ␣to␣ -> ␣
    {"\x20\x61\x6E\x64\x20", "\x20"},                          // 21  ␣and␣ -> ␣
    {"\x20\x61\x6E\x20", "\x20"},                              // 22  ␣an␣ -> ␣
    {"\x20\x77\x69\x74\x68\x20", "\x20"},                      // 23  ␣with␣ -> ␣
    {"\x20\x74\x68\x61\x74\x20", "\x20"},                      // 24  ␣that␣ -> ␣
    {"\x20\x62\x79\x20", "\x20"},                              // 25  ␣by␣ -> ␣
    {"\x20\x66\x6F\x72\x20", "\x20"},                          // 26  ␣for␣ -> ␣
    {"\x20\x61\x73\x20", "\x20"},                              // 27  ␣as␣ -> ␣
    {"\x20\x68\x61\x76\x69\x6E\x67\x20", "\x20"},              // 28  ␣having␣ -> ␣
    {"\x20\x6F\x6E\x20", "\x20"},                              // 29  ␣on␣ -> ␣
    {"\x20\x66\x72\x6F\x6D\x20", "\x20"},                      // 30  ␣from␣ -> ␣
    {"\x20\x77\x68\x6F\x20", "\x20"},                          // 31  ␣who␣ -> ␣
    {"\x20\x69\x73\x20", "\x20"},                              // 32  ␣is␣ -> ␣
    {"\x20\x75\x73\x65\x64\x20", "\x20"},                      // 33  ␣used␣ -> ␣
    {"\x20\x6F\x6E\x65\x20", "\x20"},                          // 34  ␣one␣ -> ␣
    {"\x20\x6E\x6F\x74\x20", "\x20"},                          // 35  ␣not␣ -> ␣
    {"\x20\x73\x20", "\x20"},                                  // 36  ␣s␣ -> ␣
    {"\x20\x61\x6E\x79\x20", "\x20"},                          // 37  ␣any␣ -> ␣
    {"\x20\x61\x74\x20", "\x20"},                              // 38  ␣at␣ -> ␣
    {"\x20\x62\x65\x20", "\x20"},                              // 39  ␣be␣ -> ␣
    {"\x20\x77\x68\x69\x63\x68\x20", "\x20"},                  // 40  ␣which␣ -> ␣
    {"\x20\x73\x6F\x6D\x65\x74\x68\x69\x6E\x67\x20", "\x20"},  // 41  ␣something␣ -> ␣
    {"\x20\x62\x65\x69\x6E\x67\x20", "\x20"},                  // 42  ␣being␣ -> ␣
    {"\x20\x69\x6E\x74\x6F\x20", "\x20"},                      // 43  ␣into␣ -> ␣
    {"\x20\x68\x65\x20", "\x20"},                              // 44  ␣he␣ -> ␣
    {"\x20\x61\x72\x65\x20", "\x20"},                          // 45  ␣are␣ -> ␣
    {"\x20\x73\x68\x65\x20", "\x20"},                          // 46  ␣she␣ -> ␣
    {"\x20\x77\x68\x61\x74\x20", "\x20"},                      // 47  ␣what␣ -> ␣
    {"\x20\x69\x74\x20", "\x20"},                              // 48  ␣it␣ -> ␣
    {"\x20\x69\x74\x73\x20", "\x20"},                          // 49  ␣its␣ -> ␣
    {"\x20\x74\x68\x61\x6E\x20", "\x20"},                      // 50  ␣than␣ -> ␣
    {"\x20\x68\x61\x73\x20", "\x20"},                          // 51  ␣has␣ -> ␣
    {"\x20\x62\x75\x74\x20", "\x20"},                          // 52  ␣but␣ -> ␣
    {"\x20\x73\x61\x69\x64\x20", "\x20"},                      // 53  ␣said␣ -> ␣
    {"\x30", "\x20"},                                          // 54  0 -> ␣
    {"\x31", "\x20"},                                          // 55  1 -> ␣
    {"\x32", "\x20"},                                          // 56  2 -> ␣
    {"\x33", "\x20"},                                          // 57  3 -> ␣
    {"\x34", "\x20"},                                          // 58  4 -> ␣
    {"\x35", "\x20"},                                          // 59  5 -> ␣
    {"\x36", "\x20"},                                          // 60  6 -> ␣
    {"\x37", "\x20"},                                          // 61  7 -> ␣
    {"\x38", "\x20"},                                          // 62  8 -> ␣
    {"\x39", "\x20"},                                          // 63  9 -> ␣
    {"\x20\x20", "\x20"},                                      // 64  ␣␣ -> ␣
    {"\x20\x20", "\x20"},                                      // 65  ␣␣ -> ␣
    {"\x20\x20", "\x20"},                                      // 66  ␣␣ -> ␣
    {"\x20\x69\x66\x20", "\x20"},                              // 67  ␣if␣ -> ␣
};

}  // namespace

const RuleList ChineseCountRules = kChineseCountRules;
const RuleList EnglishCountRules = kEnglishCountRules;

void MakeCountingText(Workspace& ws, Language language) {
  ApplyRules(ws.WorkText, language == Language::kChinese ? ChineseCountRules
                                                        : EnglishCountRules);
}

}  // namespace quillet
