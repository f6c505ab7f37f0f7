#pragma once
// Reads a drawing back through an independent DXF reader (Debian's
// python3-ezdxf, run by dxf_probe.py) and gives its entities, layers and
// header to the tests. The reader is given no code page, and its audit must
// find nothing to report or mend.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace tarvel::testing {

struct ProbeEntity {
    std::string type;  // LINE, CIRCLE, TEXT, POLYLINE
    std::string layer;
    std::string style;      // TEXT only
    std::string text;       // TEXT only, UTF-8
    std::vector<double> v;  // LINE x1 y1 x2 y2; CIRCLE x y r;
                            // TEXT height rotation halign valign x y ax ay;
                            // POLYLINE width n x1 y1 ...
};

struct ProbeLayer {
    std::string name;
    int colour = 0;
    std::string linetype;
};

struct ProbeResult {
    bool ok = false;
    std::string error;
    std::vector<ProbeEntity> entities;
    std::vector<ProbeLayer> layers;  // as declared, then those ezdxf adds itself
    std::vector<std::vector<std::string>> styles;  // name, font, big font
    std::vector<std::string> header;  // version, code page, encoding, xmin ymin xmax ymax

    const ProbeLayer* layer(const std::string& name) const {
        for (const ProbeLayer& l : layers) {
            if (l.name == name) return &l;
        }
        return nullptr;
    }

    std::vector<const ProbeEntity*> all(const std::string& type,
                                        const std::string& layer = "*") const {
        std::vector<const ProbeEntity*> found;
        for (const ProbeEntity& e : entities) {
            if (e.type == type && (layer == "*" || e.layer == layer)) found.push_back(&e);
        }
        return found;
    }
    int count(const std::string& type, const std::string& layer = "*") const {
        return static_cast<int>(all(type, layer).size());
    }
    // Polylines of one width (drawing units) on a layer.
    int polylines(const std::string& layer, double width) const {
        int n = 0;
        for (const ProbeEntity* e : all("POLYLINE", layer)) {
            if (std::fabs(e->v[0] - width) < 1e-6) ++n;
        }
        return n;
    }
    std::vector<std::string> texts(const std::string& layer = "*") const {
        std::vector<std::string> found;
        for (const ProbeEntity* e : all("TEXT", layer)) found.push_back(e->text);
        return found;
    }
    const ProbeEntity* text(const std::string& content, const std::string& layer = "*") const {
        for (const ProbeEntity* e : all("TEXT", layer)) {
            if (e->text == content) return e;
        }
        return nullptr;
    }
};

inline std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

inline ProbeResult probeDxf(const std::string& path) {
    ProbeResult result;
    const std::string command = std::string("/usr/bin/python3 '") + TARVEL_SOURCE_DIR +
                                "/tests/drawing/dxf_probe.py' '" + path + "' 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        result.error = "cannot start /usr/bin/python3";
        return result;
    }
    std::string output;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    const int status = ::pclose(pipe);
    if (status != 0) {
        result.error = "ezdxf could not read " + path +
                       " (python3-ezdxf is installed by scripts/setup.sh):\n" + output;
        return result;
    }
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string::npos) end = output.size();
        const std::vector<std::string> f = splitTabs(output.substr(start, end - start));
        start = end + 1;
        if (f[0] == "#LAYER" && f.size() == 4) {
            result.layers.push_back({f[1], std::atoi(f[2].c_str()), f[3]});
            continue;
        }
        if (f[0] == "#STYLE") {
            result.styles.emplace_back(f.begin() + 1, f.end());
            continue;
        }
        if (f[0] == "#HEADER") {
            result.header.assign(f.begin() + 1, f.end());
            continue;
        }
        ProbeEntity e;
        e.type = f[0];
        e.layer = f.size() > 1 ? f[1] : "";
        std::size_t first = 2;
        std::size_t last = f.size();
        if (e.type == "TEXT") {
            e.style = f[2];
            e.text = f.back();
            first = 3;
            last = f.size() - 1;
        }
        for (std::size_t i = first; i < last; ++i)
            e.v.push_back(std::strtod(f[i].c_str(), nullptr));
        result.entities.push_back(std::move(e));
    }
    result.ok = true;
    return result;
}

// For tests: the probe of a drawing that must be readable.
#define PROBE_DXF(var, path)                                                      \
    const ::tarvel::testing::ProbeResult var = ::tarvel::testing::probeDxf(path); \
    ASSERT_TRUE(var.ok) << var.error

}  // namespace tarvel::testing
