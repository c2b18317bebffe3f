// A validator for the JSON Schema keywords the published schemas use (results and decks):
// enough to hold a document to its schema in the tests without a further dependency.
#pragma once

#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <string>

namespace zarno::test {

inline bool Has_Type(const nlohmann::json& v, const std::string& type) {
    if (type == "object")
        return v.is_object();
    if (type == "array")
        return v.is_array();
    if (type == "string")
        return v.is_string();
    if (type == "boolean")
        return v.is_boolean();
    if (type == "null")
        return v.is_null();
    if (type == "integer")
        return v.is_number_integer();
    if (type == "number")
        return v.is_number();
    return false;
}

class SchemaValidator {
  public:
    using json = nlohmann::json;

    explicit SchemaValidator(json root) : root_(std::move(root)) {}

    // Returns the first violation as "path: reason", or an empty string.
    std::string Validate(const json& value) const { return Check(root_, value, "$"); }

  private:
    const json& Resolve(const json& schema) const {
        const std::string ref = schema.at("$ref");
        const std::string prefix = "#/$defs/";
        if (ref.rfind(prefix, 0) != 0) {
            throw std::runtime_error("unsupported $ref " + ref);
        }
        return root_.at("$defs").at(ref.substr(prefix.size()));
    }

    std::string Check(const json& s, const json& v, const std::string& path) const {
        static const std::set<std::string> known = {
            "$schema", "$id",  "title",      "description", "$defs",
            "$ref",    "type", "properties", "required",    "additionalProperties",
            "items",   "enum", "const",      "minimum",     "oneOf"};
        for (const auto& [key, unused] : s.items()) {
            if (!known.count(key)) {
                return path + ": schema keyword " + key + " is not supported by this validator";
            }
        }
        if (s.contains("$ref")) {
            return Check(Resolve(s), v, path);
        }
        if (s.contains("type")) {
            const json& t = s["type"];
            bool ok = false;
            if (t.is_array()) {
                for (const json& one : t) {
                    ok = ok || Has_Type(v, one.get<std::string>());
                }
            } else {
                ok = Has_Type(v, t.get<std::string>());
            }
            if (!ok) {
                return path + ": expected type " + t.dump() + ", found " + v.dump().substr(0, 40);
            }
        }
        if (s.contains("const") && v != s["const"]) {
            return path + ": expected " + s["const"].dump();
        }
        if (s.contains("enum")) {
            bool found = false;
            for (const json& e : s["enum"]) {
                found = found || e == v;
            }
            if (!found) {
                return path + ": " + v.dump() + " is not one of " + s["enum"].dump();
            }
        }
        if (s.contains("minimum") && v.is_number() &&
            v.get<double>() < s["minimum"].get<double>()) {
            return path + ": below the minimum";
        }
        if (s.contains("oneOf")) {
            int matches = 0;
            for (const json& option : s["oneOf"]) {
                matches += Check(option, v, path).empty() ? 1 : 0;
            }
            if (matches != 1) {
                return path + ": matches " + std::to_string(matches) + " of the oneOf schemas";
            }
        }
        if (v.is_object()) {
            if (s.contains("required")) {
                for (const json& r : s["required"]) {
                    if (!v.contains(r.get<std::string>())) {
                        return path + ": missing " + r.get<std::string>();
                    }
                }
            }
            const json props = s.value("properties", json::object());
            for (const auto& [key, item] : v.items()) {
                if (props.contains(key)) {
                    const std::string e = Check(props[key], item, path + "." + key);
                    if (!e.empty()) {
                        return e;
                    }
                } else if (s.contains("additionalProperties") && !s["additionalProperties"]) {
                    return path + ": unexpected property " + key;
                }
            }
        }
        if (v.is_array() && s.contains("items")) {
            for (size_t i = 0; i < v.size(); ++i) {
                const std::string e = Check(s["items"], v[i], path + "[" + std::to_string(i) + "]");
                if (!e.empty()) {
                    return e;
                }
            }
        }
        return {};
    }

    json root_;
};

} // namespace zarno::test
