// Every way the command can be given bad input: a message naming what is
// wrong, a non-zero exit, and no picture (not even a half-written one).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cairo.h>
#include <gtest/gtest.h>

namespace {

struct Outcome {
  int exitCode;
  std::string err;
  std::string out;
};

class CommandErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/inkline-cmd-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Write(const std::string& name, const std::string& content) {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  // Runs the command with args (or, with whole set, the command line as
  // given), keeping its messages and, with keepOut, its output.
  Outcome Inkline(const std::string& args, bool whole = false, bool keepOut = false) {
    const std::string errPath = dir_ + "/stderr.txt", outPath = dir_ + "/stdout.txt";
    const std::string cmd = (whole ? args : std::string(INKLINE_COMMAND) + " " + args) + " >" +
                            (keepOut ? "'" + outPath + "'" : "/dev/null") + " 2>'" + errPath + "'";
    const int status = std::system(cmd.c_str());
    Outcome o{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(errPath), Slurp(outPath)};
    std::remove(errPath.c_str());
    std::remove(outPath.c_str());
    return o;
  }

  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  // Files left in the folder besides the inputs.
  int FilesStartingWith(const std::string& prefix) {
    int n = 0;
    DIR* d = opendir(dir_.c_str());
    while (dirent* e = readdir(d))
      if (std::string(e->d_name).rfind(prefix, 0) == 0) ++n;
    closedir(d);
    return n;
  }

  std::string dir_;
};

std::string Layer(const std::string& features) {
  return "{\"type\":\"FeatureCollection\",\"features\":[" + features + "]}";
}

std::string Point(const std::string& props) {
  return "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[10,20]},"
         "\"properties\":{" + props + "}}";
}

TEST_F(CommandErrors, BadLayersNameFileFeatureAndProperty) {
  const struct {
    const char* name;
    std::string content;
    std::string expected;  // in the message
    int exitCode;
  } cases[] = {
      {"notjson", "{\"type\":", "not valid JSON", 3},
      {"notfc", "{\"type\":\"Feature\"}", "expected a GeoJSON FeatureCollection", 3},
      {"noheight", Layer(Point("\"text\":\"A\"")), "feature 0: property \"height\": missing", 3},
      {"badheight", Layer(Point("\"text\":\"A\",\"height\":-3")),
       "feature 0: property \"height\": expected a number greater than 0", 3},
      {"badstyle", Layer(Point("\"text\":\"A\",\"height\":3,\"style\":{\"blink\":true}")),
       "property \"style.blink\": unknown style part", 3},
      {"badfont", Layer(Point("\"text\":\"A\",\"height\":3,\"font\":1.5")),
       "property \"font\": expected a whole number", 3},
      {"badarr", Layer(Point("\"text\":\"A\",\"height\":3,\"arrangement\":\"diagonal\"")),
       "property \"arrangement\"", 3},
      {"second", Layer(Point("\"text\":\"A\",\"height\":3") + "," + Point("\"text\":7,\"height\":3")),
       "feature 1: property \"text\": expected a string", 3},
      {"nobox", Layer("{\"type\":\"Feature\",\"properties\":{\"html\":\"<body>x</body>\"}}"),
       "feature 0: property \"box\"", 3},
      {"flatbox",
       Layer("{\"type\":\"Feature\",\"properties\":{\"html\":\"x\",\"box\":[0,0,0,5]}}"),
       "expected xmin < xmax", 3},
      {"nogeom", Layer("{\"type\":\"Feature\",\"properties\":{\"text\":\"A\",\"height\":3}}"),
       "feature 0: property \"geometry\"", 3},
      {"neither", Layer(Point("\"name\":\"A\"")), "feature 0: has neither \"text\" nor \"html\"", 3},
      {"badview",
       "{\"type\":\"FeatureCollection\",\"view\":{\"size\":[0,5]},\"features\":[]}",
       "property \"view.size\"", 3},
  };
  for (const auto& c : cases) {
    const std::string in = Write(std::string(c.name) + ".geojson", c.content);
    const Outcome r = Inkline("render '" + in + "' -o '" + dir_ + "/out.png'");
    EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err;
    EXPECT_NE(r.err.find(in), std::string::npos) << c.name << " does not name the file: " << r.err;
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.name << ": " << r.err;
    EXPECT_EQ(FilesStartingWith("out.png"), 0) << c.name << " left a picture";
  }
}

TEST_F(CommandErrors, MissingLayerFile) {
  const Outcome r = Inkline("render '" + dir_ + "/none.geojson' -o '" + dir_ + "/out.png'");
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_NE(r.err.find("none.geojson: cannot be read"), std::string::npos) << r.err;
  EXPECT_EQ(FilesStartingWith("out"), 0);
}

TEST_F(CommandErrors, BadOutputs) {
  const std::string in = Write("ok.geojson", Layer(Point("\"text\":\"A\",\"height\":3")));
  const Outcome ext = Inkline("render '" + in + "' -o '" + dir_ + "/out.gif'");
  EXPECT_EQ(ext.exitCode, 4);
  EXPECT_NE(ext.err.find("must end in .png, .svg or .pdf"), std::string::npos) << ext.err;
  const Outcome folder = Inkline("render '" + in + "' -o '" + dir_ + "/missing/out.png'");
  EXPECT_EQ(folder.exitCode, 4);
  EXPECT_NE(folder.err.find("cannot create a file there"), std::string::npos) << folder.err;
  EXPECT_EQ(FilesStartingWith("out"), 0);
}

TEST_F(CommandErrors, UsageMistakes) {
  const std::string in = Write("ok.geojson", Layer(Point("\"text\":\"A\",\"height\":3")));
  const struct {
    std::string args;
    std::string expected;
  } cases[] = {
      {"", "usage:"},
      {"paint x", "unknown command paint"},
      {"render '" + in + "'", "either -o OUT or --trace"},
      {"render '" + in + "' --trace -o x.png", "either -o OUT or --trace"},
      {"render '" + in + "' --trace --kind 12", "--kind takes a device kind from 0 to 9"},
      {"render '" + in + "' --trace --colour 3", "unknown option --colour"},
      {"render '" + in + "' -o", "option -o needs a value"},
      {"render '" + in + "' -o x.png --threads 0", "--threads takes a number of threads from 1"},
      {"render '" + in + "' -o x.png --threads two", "--threads takes a number of threads from 1"},
      {"to-html", "to-html takes one text"},
      {"to-html A --size big", "--size takes a number"},
      {"to-text", "to-text takes one markup text"},
  };
  for (const auto& c : cases) {
    const Outcome r = Inkline(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.args << ": " << r.err;
  }
}

TEST_F(CommandErrors, BadFontTableAndStrokeFont) {
  const std::string in = Write("ok.geojson", Layer(Point("\"text\":\"A\",\"height\":3")));
  const Outcome table = Inkline("render '" + in + "' --fonts '" + dir_ + "/none.txt' -o '" + dir_ + "/out.png'");
  EXPECT_EQ(table.exitCode, 3);
  EXPECT_NE(table.err.find("none.txt"), std::string::npos) << table.err;
  const std::string empty = Write("empty.txt", "# nothing\n");
  const Outcome none = Inkline("render '" + in + "' --fonts '" + empty + "' -o '" + dir_ + "/out.png'");
  EXPECT_EQ(none.exitCode, 3);
  EXPECT_NE(none.err.find("names no fonts"), std::string::npos) << none.err;
  const std::string junk = Write("junk.clib", "xx");
  const Outcome stroke = Inkline("render '" + in + "' --stroke-font '" + junk + "' -o '" + dir_ + "/out.png'");
  EXPECT_EQ(stroke.exitCode, 3);
  EXPECT_NE(stroke.err.find("junk.clib"), std::string::npos) << stroke.err;
  EXPECT_EQ(FilesStartingWith("out"), 0);
}

TEST_F(CommandErrors, UnknownFontFallsBackAndSaysSoOnce) {
  const std::string in = Write(
      "fonts.geojson",
      Layer(Point("\"text\":\"A\",\"height\":3,\"font\":\"No Such Face\"") + "," +
            Point("\"text\":\"B\",\"height\":3,\"font\":\"No Such Face\"")));
  const Outcome r = Inkline("render '" + in + "' -o '" + dir_ + "/out.png'");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const std::string said = "font \"No Such Face\" is not in the font table";
  const size_t first = r.err.find(said);
  EXPECT_NE(first, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find(said, first + 1), std::string::npos) << "said twice: " << r.err;
  struct stat st {};
  EXPECT_EQ(stat((dir_ + "/out.png").c_str(), &st), 0);
  EXPECT_GT(st.st_size, 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);  // not the temporary file's private mode
  EXPECT_EQ(FilesStartingWith("out"), 1);  // no temporary file left beside it
}

// --trace also says, on stderr and in UTF-8, why each run is drawn as it is;
// a picture run says nothing of the kind.
TEST_F(CommandErrors, TraceSaysTheLibrarysDecisions) {
  const std::string in = Write("why.geojson", Layer(Point("\"text\":\"A\xE4\xB8\xAD\",\"height\":3")));
  const std::string outlines = "inkline: decision: run \"A\xE4\xB8\xAD\": outlines: ";
  const struct {
    std::string args;
    std::string expected;  // empty: no decision at all
  } cases[] = {
      {"--trace --no-truetype", outlines + "the device refuses TrueType fonts\n"},
      {"-o '" + dir_ + "/out.png' --no-truetype", ""},
  };
  for (const auto& c : cases) {
    const Outcome r = Inkline("render '" + in + "' " + c.args);
    EXPECT_EQ(r.exitCode, 0) << c.args << ": " << r.err;
    if (c.expected.empty())
      EXPECT_EQ(r.err.find("decision:"), std::string::npos) << c.args << ": " << r.err;
    else
      EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.args << ": " << r.err;
  }
}

// Characters GBK lacks take user-defined codes, a label's own, and are drawn
// as themselves: only a label that needs more codes than there are has the
// rest replaced, each named once with a count; other labels keep theirs.
TEST_F(CommandErrors, CharactersBeyondALabelsUserDefinedCodesAreNamedOnceWithCounts) {
  std::string hangul;  // 1,900 distinct syllables, none of them in GBK
  for (char32_t c = 0xAC00; c < 0xAC00 + 1900; ++c)
    hangul += {static_cast<char>(0xE0 | (c >> 12)), static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
               static_cast<char>(0x80 | (c & 0x3F))};
  const std::string in = Write(
      "many.geojson", Layer(Point("\"text\":\"A\xF0\x9F\x98\x80" "B\",\"height\":3") + "," +
                            Point("\"text\":\"" + hangul + "\",\"height\":3") + "," +
                            Point("\"text\":\"" + hangul + "\",\"height\":3") + "," +
                            Point("\"text\":\"\xEB\x8D\xAB\",\"height\":3")));  // U+B36B alone
  const Outcome r = Inkline("render '" + in + "' --trace");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err.find("U+1F600"), std::string::npos) << "the emoji has a code: " << r.err;
  // Each long label takes the 1,894 codes for U+AC00 to U+B365; from
  // U+B366 on its syllables are replaced, in both labels. U+B36B alone
  // has a code of its own label.
  EXPECT_EQ(r.err.find("U+B365"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("U+B366 \xEB\x8D\xA6: drawn as '?' 2 time(s)"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("U+B36B \xEB\x8D\xAB: drawn as '?' 2 time(s)"), std::string::npos) << r.err;
  int lines = 0;
  for (size_t at = r.err.find("drawn as '?'"); at != std::string::npos; at = r.err.find("drawn as '?'", at + 1))
    ++lines;
  EXPECT_EQ(lines, 6) << r.err;
}

// Hostile or mistaken command lines and inputs: each refused at once with a
// message naming the problem, or drawn with a warning, never a crash, a hang
// or a file left behind.
TEST_F(CommandErrors, HostileInputsEndCleanly) {
  const std::string ok = Write("ok.geojson", Layer(Point("\"text\":\"A\",\"height\":3")));
  const std::string deep = Write(
      "deep.geojson", Layer(Point("\"text\":\"A\",\"height\":" + std::string(100000, '[') +
                                  std::string(100000, ']'))));
  const std::string huge = Write("huge.geojson", "{\"type\":\"FeatureCollection\",\"features\":[],\"x\":1e400}");
  const std::string far = Write("far.geojson",
      "{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[-1e308,-1e308,1e308,1e308]},\"features\":[]}");
  const std::string tiny = Write("tiny.geojson",
      "{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[0,0,1e-300,1e-300]},\"features\":[" +
      Point("\"text\":\"A\",\"height\":1e300") + "]}");
  const std::string tall = Write("tall.geojson",
      "{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[0,0,1,1]},\"features\":[" +
      Point("\"text\":\"A\",\"height\":1e9") + "]}");
  const std::string nul = Write("nul.geojson", Layer(Point("\"text\":\"A\\u0000B\",\"height\":3") + "," +
                                                    Point("\"text\":\"\\u0000\",\"height\":3")));
  const std::string fifo = dir_ + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string selfPng = Write("self.png", Layer(Point("\"text\":\"A\",\"height\":3")));
  std::string table;
  for (int i = 0; i < 200000; ++i) table += std::to_string(i % 30000) + " | Face " + std::to_string(i) + " | DejaVu Sans\n";
  const std::string longTable = Write("long.txt", table);
  const std::string empty = Write("empty.geojson", Layer(""));
  const std::string small = Write("small.geojson",
      "{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[0,0,1000,1000]},\"features\":[" +
      Point("\"text\":\"A\",\"height\":0.01") + "," + Point("\"text\":\"B\",\"height\":0.01") + "]}");
  const std::string markup = Write("markup.geojson", Layer(
      "{\"type\":\"Feature\",\"properties\":{\"html\":\"no body\",\"box\":[0,0,10,10]}},"
      "{\"type\":\"Feature\",\"properties\":{\"html\":\"<body size=5>" + std::string(200, 'x') +
      "</body>\",\"box\":[0,0,10,10]}}"));
  const std::string out = " -o '" + dir_ + "/out.png'";
  const struct {
    std::string args;
    int exitCode;
    std::string expected;  // in the messages
  } cases[] = {
      {"render '" + deep + "'" + out, 3, "feature 0: nested deeper than 64 levels"},
      {"render '" + huge + "'" + out, 3, "number overflow parsing '1e400'"},
      {"render '" + far + "'" + out, 3, "expected four finite numbers of at most 1e15"},
      {"render '" + tiny + "'" + out, 3, "property \"view.bbox\": the map area is too small"},
      {"render '" + tall + "'" + out, 0, "1 label (first: feature 0) are over 100000 pixels"},
      {"render '" + nul + "' --trace", 0, "2 labels (first: feature 0) hold a NUL character"},
      {"render '" + empty + "'" + out, 0, "the layer has no labels"},
      {"render '" + small + "' --trace", 0, "2 labels (first: feature 0) are under 1 pixel high"},
      {"render '" + markup + "' --trace", 0, "1 label (first: feature 0) have markup without a <body"},
      {"render '" + markup + "' --trace", 0, "1 label (first: feature 1) hold more text than their box"},
      {"render '" + fifo + "'" + out, 3, "fifo: not a regular file"},
      {"render /dev/zero" + out, 3, "/dev/zero: not a regular file"},
      {"render '" + ok + "' --fonts '" + fifo + "'" + out, 3, "is not a regular file"},
      {"render '" + ok + "' --fonts /dev/zero" + out, 3, "is not a regular file"},
      {"render '" + ok + "' --stroke-font '" + fifo + "'" + out, 3, "not a regular file"},
      {"render '" + selfPng + "' -o '" + selfPng + "'", 4, "the output is the input layer"},
      {"render '" + ok + "' --fonts '" + longTable + "'" + out, 0, "long.txt:30001: font number 0 is given twice"},
      {"render '" + ok + "' --trace --bbox 0,0,1e-300,1e-300", 2, "the map area is too small"},
      {"render '" + ok + "' --trace --kind nan", 2, "--kind takes a device kind from 0 to 9, not \"nan\""},
      {"render '" + ok + "' --trace --kind=12", 2, "--kind takes a device kind from 0 to 9, not \"12\""},
      {"render '" + ok + "' --trace --size 0x5", 2, "--size takes a size in pixels"},
      {"render '" + ok + "' -o '" + dir_ + "/out.tif'", 4, "must end in .png, .svg or .pdf"},
      {"render - --trace < '" + huge + "'", 3, "standard input: not valid JSON"},
      {"to-html A --face 1e20", 2, "--face takes a font number from 0 to 32767"},
      {"to-html A --hvpl 300", 2, "--hvpl takes 0 (rows) or 1 (a column)"},
      {"to-html A --color nan", 2, "--color takes a colour number"},
      {"to-html A --size=-1", 2, "--size takes a number greater than 0"},
      {"to-text < /dev/null", 2, "to-text takes one markup text"},
  };
  for (const auto& c : cases) {
    const Outcome r = Inkline("timeout 30 " + std::string(INKLINE_COMMAND) + " " + c.args, true);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args << ": " << r.err;
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.args << ": " << r.err;
    // A refusal leaves nothing; a finished run its picture alone.
    EXPECT_EQ(FilesStartingWith("out"), c.exitCode == 0 && c.args.find(out) != std::string::npos)
        << c.args << " left a file";
    std::remove((dir_ + "/out.png").c_str());
  }
  EXPECT_EQ(FilesStartingWith("self.png"), 1);  // the input is untouched, no temporary file
}

// Help, version and the standard streams.
TEST_F(CommandErrors, HelpVersionAndStandardStreams) {
  const std::string ok = Write("ok.geojson", Layer(Point("\"text\":\"A\",\"height\":3")));
  const struct {
    std::string args;
    std::string expectedOut;
  } cases[] = {
      {"render --help", "--where"},
      {"to-html --help", "--hvpl"},
      {"to-text --help", "standard input"},
      {"--help", "Exit codes"},
      {"--version", "inkline 0."},
      {"to-text - < '" + Write("m.txt", "<body size=12>Hi</body>") + "'", "\"text\": \"Hi\""},
      {"render - --format png -o - < '" + ok + "'", "\x89PNG"},
  };
  for (const auto& c : cases) {
    const Outcome r = Inkline(std::string(INKLINE_COMMAND) + " " + c.args, true, true);
    EXPECT_EQ(r.exitCode, 0) << c.args << ": " << r.err;
    EXPECT_NE(r.out.find(c.expectedOut), std::string::npos) << c.args << ": " << r.out.substr(0, 300);
  }
}

// SVG and PDF carry real text unless paths are asked for; a PNG may be transparent.
TEST_F(CommandErrors, OutputsDrawTextAsAsked) {
  const std::string in = Write("ok.geojson", Layer(Point("\"text\":\"Abc\",\"height\":3")));
  const struct {
    std::string args;
    bool text;  // the file holds real text
  } cases[] = {{"-o '" + dir_ + "/out.svg'", true},
               {"-o '" + dir_ + "/out.svg' --text-as paths", false},
               {"-o '" + dir_ + "/out.svg' --kind 0", false},
               {"-o '" + dir_ + "/out.pdf'", true},
               {"-o '" + dir_ + "/out.pdf' --text-as=paths", false}};
  for (const auto& c : cases) {
    const Outcome r = Inkline("render '" + in + "' " + c.args);
    ASSERT_EQ(r.exitCode, 0) << c.args << ": " << r.err;
    const std::string file = Slurp(dir_ + (c.args.find(".svg") != std::string::npos ? "/out.svg" : "/out.pdf"));
    const bool hasText = file.find("<text") != std::string::npos || file.find("/FontFile") != std::string::npos;
    EXPECT_EQ(hasText, c.text) << c.args;
  }
  for (const char* background : {"transparent", "white"}) {
    const Outcome r = Inkline("render '" + in + "' -o '" + dir_ + "/out.png' --background " + background);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    cairo_surface_t* png = cairo_image_surface_create_from_png((dir_ + "/out.png").c_str());
    cairo_surface_flush(png);
    const unsigned char alpha = cairo_image_surface_get_data(png)[3];  // the top-left pixel
    EXPECT_EQ(alpha, std::string(background) == "transparent" ? 0 : 255) << background;
    cairo_surface_destroy(png);
  }
}

// Killed while drawing, the command leaves no temporary file.
TEST_F(CommandErrors, SignalsLeaveNoTemporaryFile) {
  std::string features;
  for (int i = 0; i < 40000; ++i)
    features += (i ? "," : "") + Point("\"text\":\"Label " + std::to_string(i) + "\",\"height\":0.5");
  const std::string in = Write("many.geojson", Layer(features));
  for (const int signal : {SIGTERM, SIGINT}) {
    const pid_t child = fork();
    if (child == 0) {
      execl(INKLINE_COMMAND, INKLINE_COMMAND, "render", in.c_str(), "-q", "-o", (dir_ + "/out.png").c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    // The temporary file appears before the layer is read; stop the run then.
    for (int i = 0; i < 10000 && FilesStartingWith("out.png.") == 0; ++i) usleep(1000);
    EXPECT_EQ(FilesStartingWith("out.png."), 1);
    kill(child, signal);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << signal;
    EXPECT_EQ(FilesStartingWith("out"), 0) << "signal " << signal;
  }
}

}  // namespace
