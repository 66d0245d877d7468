#include "joined_articles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "codec/gbk_codec.h"
#include "corpus_files.h"

namespace quillet::bench {

namespace {

[[noreturn]] void Die(const std::string& message) {
  std::fprintf(stderr, "joined articles: %s\n", message.c_str());
  std::abort();
}

// Words of one kind that may stand for each other. A per-piece pool is
// permuted once per piece, so that a person keeps one name within a
// report; the words of a free pool are drawn anew at every occurrence.
struct Pool {
  bool per_piece;
  std::vector<std::string_view> words;
};

const std::vector<Pool> kChinesePools = {
    {true,
     {"张明远", "李秀英", "王建国", "刘海峰", "陈晓雯", "杨志刚", "赵丽娟",
      "黄文斌", "周立新", "吴佳怡", "孙国平", "郑雅琴", "马永红", "林思远",
      "何俊杰", "高晓光", "许文静", "罗春梅", "宋志华", "梁玉兰", "韩建军", "唐文华", "冯晓燕"}},
    {true, {"江州", "青河", "临川", "南屏", "西陵", "云溪", "北原", "安平"}},
    {true, {"华瑞", "远航", "恒丰", "新源", "博达"}},
    {false, {"表示", "指出"}},
    {false, {"目前", "当前", "眼下"}},
    {false, {"不少", "许多", "很多"}},
    {false, {"已经", "已"}},
    {false, {"可以", "能够"}},
    {false, {"不过", "但是"}},
    {false, {"告诉记者", "对记者说"}},
    {false, {"介绍", "透露"}},
    {false, {"希望", "期待"}},
    {false, {"重要", "关键"}},
    {false, {"明显", "显著"}},
    {false, {"附近", "周边"}},
};

const std::vector<Pool> kEnglishPools = {
    {true,
     {"Maria", "Daniel", "Thomas", "Priya", "Grace", "Samuel", "Elena",
      "Marcus", "Hannah", "Oliver", "Ruth", "Victor", "Isabel", "Felix",
      "Laura", "Patrick", "Nadia", "Owen"}},
    {true,
     {"Okafor", "Brennan", "Harlow", "Castillo", "Whitcombe", "Danvers",
      "Ferreira", "Kowalski", "Ashdown", "Pemberton", "Lindqvist", "Vance",
      "Marlowe", "Quint", "Mercer", "Holloway", "Sutcliffe", "Adeyemi"}},
    {true,
     {"Harrow Bay", "Millbrook", "Ashford Vale", "Kestrel Point", "Fenmoor",
      "Larkhill", "Stonebridge", "Corrin", "Westmere", "Ravens Hill",
      "Greyhaven", "Elmstead"}},
    {false, {"said", "noted"}},
    {false, {"large", "big"}},
    {false, {"important", "significant"}},
    {false, {"nearly", "almost"}},
    {false, {"serious", "severe"}},
    {false, {"many", "several"}},
    {false, {"also", "additionally"}},
    {false, {"quickly", "rapidly"}},
    {false, {"hope", "expect"}},
    {false, {"worry", "fear"}},
    {false, {"people", "residents"}},
    {false, {"two", "three", "four", "five", "six"}},
    {false, {"March", "May", "July", "August", "September", "October"}},
};

// How the articles of a language are written.
struct Style {
  std::string_view file_prefix;
  std::string_view clause_separator;
  std::string_view sentence_joiner;
  std::vector<std::string_view> quotes;  // a sentence holding one is kept whole
  std::vector<std::string_view> sentence_ends;  // what may close a sentence
  // Where the summary's sentence marking cuts a text, roughly: the ends of
  // sentences and the reporting commas.
  std::vector<std::string_view> sentence_cuts;
  // Linking phrases that may open a sentence, long enough that trimming a
  // short leading clause leaves them.
  std::vector<std::string_view> openers;
  bool word_boundaries;  // a pool word must not touch an ASCII letter
  const std::vector<Pool>* pools;
};

const Style kChineseStyle = {
    "zh_",
    "，",
    "",
    {"“", "”"},
    {"。", "！", "？", "；", "”"},
    {"。", "！", "？", "；", "……", "说，", "指出，", "称，", "表示，", "建议，",
     "透露，", "认为，", "消息，", "提醒，", "强调，", "要求，", "报导，"},
    {"记者注意到，", "值得一提的是，", "从目前的情况看，", "据当地媒体报道，",
     "从记者了解的情况看，", "记者5月12日获悉，", "5月12日上午，",
     "截至5月12日，", "5月12日下午，", "在5月12日的采访中，"},
    false,
    &kChinesePools};
const Style kEnglishStyle = {
    "en_",
    ", ",
    " ",
    {"\""},
    {".", "!", "?", "\""},
    {".", "!", "?", ";", ", said ", "said, ", ", says ", "says, ", ", say ",
     "say, ", "that, "},
    {"According to local officials, ", "At the same time, ",
     "On the other hand, ", "In recent weeks, ", "In a statement on 12 May, ",
     "At a meeting on 12 May, ", "By the middle of June, ",
     "Since the start of the year, "},
    true,
    &kEnglishPools};

// How often each variation happens, in percent.
constexpr int kKeepParagraph = 85;
constexpr int kDropSentence = 8;
constexpr int kExchangeClause = 30;  // for each clause after the first
constexpr int kAddOpener = 15;
constexpr int kSwapNeighbours = 15;
// How many variations a sentence gets, each tried when the one before it
// came out as a copy of a sentence the article holds, before it is left out.
constexpr int kTries = 6;
// Of these, the first few exchange more clauses before an opener is forced.
constexpr int kTriesWithoutOpener = 3;

struct Source : CorpusArticle {
  // The clauses after the first of the sentences that hold no quotation,
  // without closing marks: what the sentences of a piece exchange.
  std::vector<std::string> later_clauses;
};

std::vector<std::string> Split(std::string_view text, std::string_view sep) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(sep, start)) != std::string_view::npos;
       start = at + sep.size()) {
    pieces.emplace_back(text.substr(start, at - start));
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

std::string Join(const std::vector<std::string>& pieces, std::string_view sep) {
  std::string out;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) out += sep;
    out += pieces[i];
  }
  return out;
}

bool HasQuote(std::string_view sentence, const Style& style) {
  return std::any_of(style.quotes.begin(), style.quotes.end(),
                     [&](std::string_view q) {
                       return sentence.find(q) != std::string_view::npos;
                     });
}

// Length of the run of sentence-closing marks at the end of clause.
std::size_t EndLength(std::string_view clause, const Style& style) {
  std::size_t body = clause.size();
  for (bool found = true; found;) {
    found = false;
    for (std::string_view end : style.sentence_ends) {
      if (clause.substr(0, body).ends_with(end)) {
        body -= end.size();
        found = true;
      }
    }
  }
  return clause.size() - body;
}

void CollectLaterClauses(Source& source, const Style& style) {
  for (const auto& paragraph : source.paragraphs) {
    for (const std::string& sentence : paragraph) {
      if (HasQuote(sentence, style)) continue;
      const auto clauses = Split(sentence, style.clause_separator);
      for (std::size_t i = 1; i < clauses.size(); ++i) {
        const std::string& c = clauses[i];
        source.later_clauses.push_back(c.substr(0, c.size() - EndLength(c, style)));
      }
    }
  }
}

std::vector<Source> LoadSources(const Style& style) {
  std::vector<Source> sources;
  for (const auto& path : CorpusPaths(style.file_prefix)) {
    sources.push_back({ReadCorpusArticle(path), {}});
    CollectLaterClauses(sources.back(), style);
  }
  return sources;
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Swaps pool words and redraws numbers throughout one piece.
class Substitution {
 public:
  Substitution(const Style& style, Rng& rng) : style_(style), rng_(rng) {
    const std::vector<Pool>& pools = *style.pools;
    for (std::size_t p = 0; p < pools.size(); ++p) {
      std::vector<std::size_t> order(pools[p].words.size());
      for (std::size_t w = 0; w < order.size(); ++w) {
        order[w] = w;
        entries_.push_back({pools[p].words[w], p, w});
      }
      if (pools[p].per_piece) rng_.Shuffle(order);
      permutation_.push_back(order);
    }
    // Longest first, so that a word is never taken for a shorter one
    // that begins it.
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) {
                       return a.word.size() > b.word.size();
                     });
  }

  std::string Apply(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size();) {
      if (IsDigit(text[i])) {
        std::size_t end = i;
        while (end < text.size() && IsDigit(text[end])) ++end;
        out += RedrawNumber(text.substr(i, end - i), text.substr(end));
        i = end;
      } else if (const Entry* entry = MatchAt(text, i)) {
        out += Replacement(*entry);
        i += entry->word.size();
      } else {
        out += text[i++];
      }
    }
    return out;
  }

 private:
  struct Entry {
    std::string_view word;
    std::size_t pool;
    std::size_t index;
  };

  const Entry* MatchAt(std::string_view text, std::size_t i) const {
    if (style_.word_boundaries && i > 0 && IsAsciiLetter(text[i - 1])) {
      return nullptr;
    }
    for (const Entry& entry : entries_) {
      if (text.substr(i).starts_with(entry.word)) {
        const std::size_t end = i + entry.word.size();
        if (style_.word_boundaries && end < text.size() &&
            IsAsciiLetter(text[end])) {
          continue;
        }
        return &entry;
      }
    }
    return nullptr;
  }

  std::string_view Replacement(const Entry& entry) {
    const Pool& pool = (*style_.pools)[entry.pool];
    if (pool.per_piece) return pool.words[permutation_[entry.pool][entry.index]];
    return pool.words[rng_.Below(pool.words.size())];
  }

  // Same number of digits, no leading zero; a year stays in its century,
  // a month or a day of a date in its range.
  std::string RedrawNumber(std::string_view digits, std::string_view after) {
    if (const int limit = DateLimit(after)) {
      return std::to_string(1 + rng_.Below(static_cast<std::size_t>(limit)));
    }
    std::string out(digits);
    std::size_t from = 0;
    if (digits.size() == 4 && (digits.starts_with("19") || digits.starts_with("20"))) {
      from = 2;
    } else {
      out[0] = static_cast<char>('1' + rng_.Below(9));
      from = 1;
    }
    for (std::size_t k = from; k < out.size(); ++k) {
      out[k] = static_cast<char>('0' + rng_.Below(10));
    }
    return out;
  }

  static int DateLimit(std::string_view after) {
    static constexpr std::string_view kMonths[] = {
        " January", " February", " March",     " April",   " May",      " June",
        " July",    " August",   " September", " October", " November", " December"};
    if (after.starts_with("月")) return 12;
    if (after.starts_with("日")) return 28;
    for (std::string_view month : kMonths) {
      if (after.starts_with(month)) return 28;
    }
    return 0;
  }

  const Style& style_;
  Rng& rng_;
  std::vector<Entry> entries_;
  std::vector<std::vector<std::size_t>> permutation_;
};

bool StartsWithPoolWord(std::string_view sentence, const Style& style) {
  for (const Pool& pool : *style.pools) {
    for (std::string_view word : pool.words) {
      if (sentence.starts_with(word) &&
          (sentence.size() == word.size() || !IsAsciiLetter(sentence[word.size()]))) {
        return true;
      }
    }
  }
  return false;
}

// The sentence with some of its later clauses exchanged for clauses of
// other sentences of its article, and now and then a linking phrase put
// before it; attempt counts the variations before that came out as copies,
// and makes both more likely. A sentence holding a quotation stays as it is.
std::string VarySentence(const std::string& sentence, const Source& source,
                         const Style& style, int attempt, Rng& rng) {
  const bool anew = attempt > 0;
  if (HasQuote(sentence, style)) return sentence;
  std::vector<std::string> clauses = Split(sentence, style.clause_separator);
  for (std::size_t i = 1; i < clauses.size(); ++i) {
    if (source.later_clauses.empty()) break;
    if (!rng.Percent(anew ? 2 * kExchangeClause : kExchangeClause)) continue;
    std::string replacement =
        source.later_clauses[rng.Below(source.later_clauses.size())];
    if (i + 1 == clauses.size()) {  // the last clause keeps the old end
      const std::string& last = clauses[i];
      replacement += last.substr(last.size() - EndLength(last, style));
    }
    clauses[i] = std::move(replacement);
  }
  std::string out = Join(clauses, style.clause_separator);
  if (attempt >= kTriesWithoutOpener || rng.Percent(kAddOpener)) {
    if (style.word_boundaries && !StartsWithPoolWord(out, style) &&
        out[0] >= 'A' && out[0] <= 'Z' && out.compare(0, 2, "I ") != 0) {
      out[0] = static_cast<char>(out[0] - 'A' + 'a');
    }
    out.insert(0, style.openers[rng.Below(style.openers.size())]);
  }
  return out;
}

// The sentences of a paragraph that a piece takes, in the order it takes
// them: a few left out, a few neighbours swapped.
std::vector<const std::string*> ChooseSentences(
    const std::vector<std::string>& sentences, Rng& rng) {
  std::vector<const std::string*> out;
  for (const std::string& sentence : sentences) {
    if (!rng.Percent(kDropSentence)) out.push_back(&sentence);
  }
  if (out.empty()) out.push_back(&sentences.front());
  for (std::size_t i = 0; i + 1 < out.size(); ++i) {
    if (rng.Percent(kSwapNeighbours)) std::swap(out[i], out[i + 1]);
  }
  return out;
}

// GBK length of UTF-8 text whose characters all lie in the BMP: one byte
// for ASCII, two for any other character.
std::size_t GbkLength(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) n += 1;
    else if (b >= 0xC0) n += 2;
  }
  return n;
}

// The sentences an article already holds, as the summary would cut them.
// The summary keeps only the first copy of a sentence, so an article that
// is to be N bytes of work for it must not repeat one.
class SentenceRegistry {
 public:
  explicit SentenceRegistry(const Style& style) : style_(style) {}

  // Registers the sentences that text is cut into and returns true, unless
  // one of them (of a length the summary would keep) is already there.
  bool AddIfNew(std::string_view text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      for (std::string_view cut : style_.sentence_cuts) {
        if (text.substr(i).starts_with(cut)) {
          pieces.push_back(Piece(text.substr(start, i + cut.size() - start)));
          start = i + cut.size();
          i = start - 1;
          break;
        }
      }
    }
    pieces.push_back(Piece(text.substr(start)));
    std::erase_if(pieces, [](const std::string& p) { return GbkLength(p) < 15; });
    for (const std::string& piece : pieces) {
      if (seen_.contains(piece)) return false;
    }
    seen_.insert(pieces.begin(), pieces.end());
    return true;
  }

 private:
  static std::string Piece(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return std::string(text);
  }

  const Style& style_;
  std::unordered_set<std::string> seen_;
};

// The paragraphs (UTF-8) of one varied piece, its title first unless the
// article holds that title already. Every sentence is new to the article:
// one that comes out as a copy is varied anew, and left out after kTries.
std::vector<std::string> MakePiece(const Source& source, const Style& style,
                                   SentenceRegistry& registry, Rng& rng) {
  Substitution substitution(style, rng);
  std::vector<std::string> out;
  std::string title = substitution.Apply(source.title);
  if (registry.AddIfNew(title)) out.push_back(std::move(title));
  for (const auto& paragraph : source.paragraphs) {
    if (!rng.Percent(kKeepParagraph)) continue;
    std::vector<std::string> kept;
    for (const std::string* sentence : ChooseSentences(paragraph, rng)) {
      for (int attempt = 0; attempt < kTries; ++attempt) {
        std::string varied = substitution.Apply(
            VarySentence(*sentence, source, style, attempt, rng));
        if (registry.AddIfNew(varied)) {
          kept.push_back(std::move(varied));
          break;
        }
      }
    }
    if (!kept.empty()) out.push_back(Join(kept, style.sentence_joiner));
  }
  return out;
}

GbkText ToGbk(const std::string& utf8) {
  std::size_t replaced = 0;
  GbkText gbk = Utf8ToGbk(utf8, &replaced);
  if (replaced != 0) Die("a corpus character has no GBK form in: " + utf8);
  return gbk;
}

}  // namespace

JoinedArticle JoinArticles(Language language, std::size_t target_bytes,
                           std::uint64_t seed) {
  const Style& style =
      language == Language::kChinese ? kChineseStyle : kEnglishStyle;
  const std::vector<Source> sources = LoadSources(style);
  SentenceRegistry registry(style);
  Rng rng(seed);
  JoinedArticle article;
  std::vector<std::size_t> deck;  // every article once before any again
  for (int empty_pieces = 0; empty_pieces < 100;) {
    if (deck.empty()) {
      for (std::size_t i = 0; i < sources.size(); ++i) deck.push_back(i);
      rng.Shuffle(deck);
    }
    const Source& source = sources[deck.back()];
    deck.pop_back();
    const std::vector<std::string> piece = MakePiece(source, style, registry, rng);
    empty_pieces = piece.empty() ? empty_pieces + 1 : 0;
    for (const std::string& paragraph : piece) {
      const GbkText line = ToGbk(paragraph);
      const std::size_t separator = article.text.empty() ? 0 : 2;
      if (article.text.size() + separator + line.size() > target_bytes) {
        return article;
      }
      if (separator != 0) article.text.Append(std::string_view("\r\n"));
      if (article.title.empty()) article.title = line;
      article.text.Append(line);
    }
  }
  Die("the corpus gives no new sentences any more");
}

}  // namespace quillet::bench
