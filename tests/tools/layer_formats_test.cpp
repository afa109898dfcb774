// The command reads layers in other formats through GDAL: each made here
// with GDAL's own API, drawn to a trace at a fixed view, and every label
// found where its feature is.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <gtest/gtest.h>

namespace {

struct Place {
  const char* name;
  long long pop;
  const char* wkt;
  const char* point;  // where the label goes; a Shapefile holds one geometry type
};

// Three labels pass --where "POP > 100"; "Tiny" does not.
const Place kPlaces[] = {
    {"Alpha", 5000, "POINT (100 200)", "POINT (100 200)"},
    {"Tiny", 50, "POINT (500 500)", "POINT (500 500)"},
    // The middle of an L-shaped line is its corner, not its envelope's centre.
    {"Beta", 900, "LINESTRING (100 100,100 500,500 500)", "POINT (100 500)"},
    // An L-shaped area's envelope centre (700 700) lies outside it.
    {"Gamma", 2000, "POLYGON ((600 600,800 600,800 650,650 650,650 800,600 800,600 600))",
     "POINT (625 700)"}};

// The WKT with every coordinate divided by 10: degrees within the world.
std::string Tenth(const std::string& wkt) {
  std::string out;
  for (size_t i = 0; i < wkt.size();) {
    if (!std::isdigit(static_cast<unsigned char>(wkt[i]))) {
      out += wkt[i++];
      continue;
    }
    size_t end = i;
    const double v = std::stod(wkt.substr(i), &end);
    out += std::to_string(v / 10);
    i += end;
  }
  return out;
}

// Writes the places as layer "places" (and an empty decoy layer first where
// the format holds several) in the given driver and coordinate system.
void WritePlaces(const char* driver, const std::string& path, const char* srsText,
                 bool shiftToSrs) {
  GDALAllRegister();
  GDALDriver* d = GetGDALDriverManager()->GetDriverByName(driver);
  ASSERT_NE(d, nullptr) << driver;
  std::unique_ptr<GDALDataset> ds(d->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
  ASSERT_NE(ds, nullptr) << path;
  OGRSpatialReference srs;
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  srs.SetFromUserInput(srsText);
  if (std::string(driver) == "GPKG") ds->CreateLayer("decoy", &srs, wkbPoint, nullptr);
  OGRLayer* layer = ds->CreateLayer("places", &srs, wkbUnknown, nullptr);
  ASSERT_NE(layer, nullptr);
  OGRFieldDefn name("NAME", OFTString), pop("POP", OFTInteger64);
  layer->CreateField(&name);
  layer->CreateField(&pop);
  // In another CRS the map units are degrees 0-100 projected to it.
  OGRSpatialReference degrees;
  degrees.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  degrees.SetFromUserInput("EPSG:4326");
  std::unique_ptr<OGRCoordinateTransformation> toSrs(
      shiftToSrs ? OGRCreateCoordinateTransformation(&degrees, &srs) : nullptr);
  for (const Place& p : kPlaces) {
    OGRFeature f(layer->GetLayerDefn());
    f.SetField("NAME", p.name);
    f.SetField("POP", static_cast<GIntBig>(p.pop));
    OGRGeometry* g = nullptr;
    const std::string wkt = std::string(driver) == "ESRI Shapefile" ? p.point : p.wkt;
    OGRGeometryFactory::createFromWkt(toSrs ? Tenth(wkt).c_str() : wkt.c_str(), nullptr, &g);
    if (toSrs) g->transform(toSrs.get());
    f.SetGeometryDirectly(g);
    ASSERT_EQ(layer->CreateFeature(&f), OGRERR_NONE);
  }
}

struct TextAt {
  std::string firstChar;  // hex of the first byte, as the trace writes it
  double x, y;
};

// The first character of every text the trace draws, with where.
std::vector<TextAt> TextsOf(const std::string& trace) {
  std::vector<TextAt> out;
  size_t at = 0;
  while ((at = trace.find("GdiText at ", at)) != std::string::npos) {
    TextAt t{};
    char hex[3] = {};
    if (std::sscanf(trace.c_str() + at, "GdiText at %lf,%lf", &t.x, &t.y) == 2) {
      const size_t text = trace.find("text=", at);
      hex[0] = trace[text + 5], hex[1] = trace[text + 6];
      t.firstChar = hex;
      out.push_back(t);
    }
    at += 10;
  }
  return out;
}

std::string Inkline(const std::string& args, int* exitCode) {
  const std::string cmd = std::string(INKLINE_COMMAND) + " " + args + " 2>&1";
  FILE* p = popen(cmd.c_str(), "r");
  std::string out;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  const int status = pclose(p);
  *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

TEST(LayerFormats, LabelsLandWhereTheFeaturesAre) {
  char templ[] = "/tmp/inkline-formats-XXXXXX";
  ASSERT_NE(mkdtemp(templ), nullptr);
  const std::string dir = templ;
  const struct {
    const char* driver;
    std::string file;
    const char* srs;
    bool reproject;
    std::string view;  // --bbox and --t-srs
  } cases[] = {
      {"ESRI Shapefile", dir + "/shapes", "EPSG:32631", false, "--bbox 0,0,1000,1000"},  // a folder
      {"FlatGeobuf", dir + "/places.fgb", "EPSG:32631", false, "--bbox 0,0,1000,1000"},
      {"GeoJSONSeq", dir + "/places.geojsonl", "EPSG:4326", false, "--bbox 0,0,1000,1000"},
      {"GPKG", dir + "/places.gpkg", "EPSG:32631", false, "--bbox 0,0,1000,1000"},
      {"GeoJSON", dir + "/places.geojson", "EPSG:3857", true,
       "--bbox 0,0,100,100 --t-srs EPSG:4326"},
  };
  const struct {
    const char* firstChar;
    double x, y, slack;  // Gamma: anywhere in the area's narrow arm
  } expected[] = {{"41", 100, 200, 2}, {"42", 100, 500, 2}, {"47", 625, 725, 25}};
  for (const auto& c : cases) {
    WritePlaces(c.driver, c.file, c.srs, c.reproject);
    int exitCode = -1;
    const std::string trace =
        Inkline("render '" + c.file + "' -l places --where 'POP > 100' --text-field NAME " +
                "--height 20px --size 1000,1000 --trace " + c.view,
            &exitCode);
    ASSERT_EQ(exitCode, 0) << c.driver << ": " << trace;
    const std::vector<TextAt> texts = TextsOf(trace);
    EXPECT_EQ(trace.find("text=54"), std::string::npos) << c.driver << ": \"Tiny\" was not filtered";
    for (const auto& e : expected) {
      bool found = false;
      // The trace's y grows downwards and gives the top of the 20 px cell.
      for (const TextAt& t : texts)
        found = found || (t.firstChar == e.firstChar && std::abs(t.x - e.x) <= e.slack &&
                          std::abs(t.y - (1000 - e.y - 20)) <= e.slack + 1);
      EXPECT_TRUE(found) << c.driver << ": no label " << e.firstChar << " at " << e.x << ","
                         << e.y << "\n" << trace.substr(0, 2000);
    }
  }
  std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
