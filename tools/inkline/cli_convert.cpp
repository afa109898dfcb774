// inkline to-html and to-text: the markup conversions.
#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

#include <inkline/inkline.h>

#include "cli_values.h"
#include "commands.h"
#include "gbk.h"
#include "input_file.h"
#include "markup_parts.h"

namespace {

class ToHtml : public Subcommand {
 public:
  explicit ToHtml(CLI::App& app) {
    app.add_option("text", text_, "the annotation's text (UTF-8, with its #+ #- #= and /a/b/ notations)");
    const struct {
      const char* name;
      std::string* value;
      const char* help;
    } options[] = {{"--face", &face_, "font number 0-32767 (default 0)"},
                   {"--style", &style_, "style number 0-32767: 1 italic, 2 bold, 3 underline, 4 strike-out"},
                   {"--size", &size_, "character size, greater than 0 (default 10)"},
                   {"--color", &color_, "colour number 0-65535 (default 1)"},
                   {"--space", &space_, "extra space after each character (default 0)"},
                   {"--hvpl", &hvpl_, "0 rows, 1 a vertical column (default 0)"},
                   {"--bgcolor", &bgcolor_, "background colour number 0-65535 (default 0)"},
                   {"--angle", &angle_, "baseline angle in degrees (default 0)"}};
    for (const auto& o : options) app.add_option(o.name, *o.value, o.help);
  }

  int Run() override {
    if (text_.empty()) return UsageError("to-html takes one text", "to-html");
    long face = 0, style = 0, color = 1, hvpl = 0, bgcolor = 0;
    double size = 10, space = 0, angle = 0;
    std::string p;
    const bool ok =
        ParseWhole("--face", face_, 0, 32767, "a font number from 0 to 32767", &face, &p) &&
        ParseWhole("--style", style_, 0, 32767, "a style number from 0 to 32767", &style, &p) &&
        ParseReal("--size", size_, 1e-6, 1e6, "a number greater than 0, at most 1e6", &size, &p) &&
        ParseWhole("--color", color_, 0, 65535, "a colour number from 0 to 65535", &color, &p) &&
        ParseReal("--space", space_, -1e6, 1e6, "a number from -1e6 to 1e6", &space, &p) &&
        ParseWhole("--hvpl", hvpl_, 0, 1, "0 (rows) or 1 (a column)", &hvpl, &p) &&
        ParseWhole("--bgcolor", bgcolor_, 0, 65535, "a colour number from 0 to 65535", &bgcolor, &p) &&
        ParseReal("--angle", angle_, -3600, 3600, "an angle from -3600 to 3600 degrees", &angle, &p);
    if (!ok) return UsageError(p, "to-html");
    CodePageLosses losses;
    std::string text = Utf8ToGbkWithUserChars(text_, &losses);
    if (losses.invalid || !losses.replaced.empty())
      std::fprintf(stderr, "inkline: warning: %d character(s) could not be kept\n",
                   losses.invalid + static_cast<int>(losses.replaced.size()));
    const char* html = CvtStrToHTML(text.data(), static_cast<short>(face), static_cast<short>(style),
                                    size, static_cast<int>(color), static_cast<float>(space),
                                    static_cast<char>(hvpl), static_cast<int>(bgcolor),
                                    static_cast<float>(angle));
    if (!html) {
      std::fprintf(stderr, "inkline: the conversion gave no result\n");
      return kExitInput;
    }
    std::printf("%s\n", GbkToUtf8(html).c_str());
    return kExitOk;
  }

 private:
  std::string text_, face_ = "0", style_ = "0", size_ = "10", color_ = "1", space_ = "0",
                     hvpl_ = "0", bgcolor_ = "0", angle_ = "0";
};

class ToText : public Subcommand {
 public:
  explicit ToText(CLI::App& app) {
    app.add_option("markup", markup_, "the markup, or - to read it from standard input");
  }

  int Run() override {
    if (markup_.empty()) return UsageError("to-text takes one markup text, or - to read it from stdin", "to-text");
    std::string markup = markup_, error;
    if (markup == "-" && !input_file::ReadStdin(input_file::kStdinCap, &markup, &error)) {
      std::fprintf(stderr, "inkline: %s\n", error.c_str());
      return kExitInput;
    }
    CodePageLosses losses;
    MarkupParts p;
    if (!TakeMarkupApart(Utf8ToGbkWithUserChars(markup, &losses), &p)) {
      std::fprintf(stderr, "inkline: the markup has no <body ...> tag\n");
      return kExitInput;
    }
    const auto finite = [](double v) { return std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(); };
    nlohmann::json out = {{"text", GbkToUtf8(p.text)}, {"face", p.face},   {"style", p.style},
                          {"size", finite(p.size)},    {"color", p.color}, {"space", finite(p.space)},
                          {"hvpl", static_cast<int>(p.hvpl)}, {"bgcolor", p.bgcolor},
                          {"angle", finite(p.angle)}};
    std::printf("%s\n", out.dump(2).c_str());
    return kExitOk;
  }

 private:
  std::string markup_;
};

}  // namespace

std::unique_ptr<Subcommand> AddToHtml(CLI::App& app) { return std::make_unique<ToHtml>(app); }
std::unique_ptr<Subcommand> AddToText(CLI::App& app) { return std::make_unique<ToText>(app); }
