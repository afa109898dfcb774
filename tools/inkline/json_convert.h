// Between the command's flat JSON values and nlohmann's: for values that
// come from elsewhere than a layer's text (GDAL's fields, the command line)
// and for the few readers that want a value's members in key order.
#ifndef INKLINE_TOOLS_JSON_CONVERT_H
#define INKLINE_TOOLS_JSON_CONVERT_H

#include <nlohmann/json.hpp>

#include "json_value.h"

// A copy of value, its strings owned by the document.
JsonDoc ToJsonDoc(const nlohmann::json& value);

// The same value as nlohmann's; of duplicate keys the last is kept.
nlohmann::json ToNlohmann(const JsonValue& value);

#endif  // INKLINE_TOOLS_JSON_CONVERT_H
