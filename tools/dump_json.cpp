#include "dump_json.h"

#include <cmath>
#include <cstdio>

namespace {

// Builds one JSON object field by field; closed when it goes out of scope.
class JsonObject {
 public:
  explicit JsonObject(std::string& out, const char* separator = ",", const char* close = "}")
      : out_(out), separator_(separator), close_(close) {
    out_ += '{';
  }
  ~JsonObject() { out_ += close_; }

  JsonObject& Float(const char* name, float value) {
    Key(name);
    if (std::isfinite(value)) {
      char text[32];
      std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
      out_ += text;
    } else {
      out_ += "null";  // JSON has no NaN or infinity
    }
    return *this;
  }
  JsonObject& Int(const char* name, long long value) {
    Key(name);
    out_ += std::to_string(value);
    return *this;
  }
  JsonObject& Bool(const char* name, bool value) {
    Key(name);
    out_ += value ? "true" : "false";
    return *this;
  }
  // Starts a named value written by the caller.
  std::string& Raw(const char* name) {
    Key(name);
    return out_;
  }

 private:
  void Key(const char* name) {
    out_ += first_ ? separator_ + 1 : separator_;  // the first field gets only the layout
    first_ = false;
    out_ += '"';
    out_ += name;
    out_ += "\":";
  }

  std::string& out_;
  const char* separator_;
  const char* close_;
  bool first_ = true;
};

void Write(std::string& out, const Creature& c) {
  JsonObject(out)
      .Float("x", c.x)
      .Float("y", c.y)
      .Float("vx", c.vx)
      .Float("vy", c.vy)
      .Float("size", c.size)
      .Int("color1", c.color1)
      .Int("color2", c.color2)
      .Int("color3", c.color3)
      .Float("swimPhase", c.swimPhase)
      .Float("swimRate", c.swimRate)
      .Int("species", c.species)
      .Int("pattern", c.pattern)
      .Float("depth", c.depth)
      .Float("pulsePhase", c.pulsePhase)
      .Float("pacePhase", c.pacePhase)
      .Float("cruiseSpeed", c.cruiseSpeed)
      .Float("targetY", c.targetY)
      .Float("retargetTimer", c.retargetTimer)
      .Float("tilt", c.tilt)
      .Float("lastVx", c.lastVx);
}

void Write(std::string& out, const Bubble& b) {
  JsonObject(out)
      .Float("x", b.x)
      .Float("y", b.y)
      .Float("radius", b.radius)
      .Float("riseSpeed", b.riseSpeed)
      .Float("wobblePhase", b.wobblePhase)
      .Float("wobbleRate", b.wobbleRate);
}

void Write(std::string& out, const PlantClump& p) {
  JsonObject(out)
      .Float("x", p.x)
      .Float("height", p.height)
      .Float("width", p.width)
      .Float("swayPhase", p.swayPhase)
      .Float("swayRate", p.swayRate)
      .Int("color", p.color)
      .Int("blades", p.blades);
}

void Write(std::string& out, const LightRay& r) {
  JsonObject(out)
      .Float("x", r.x)
      .Float("width", r.width)
      .Float("slant", r.slant)
      .Float("phase", r.phase)
      .Float("rate", r.rate)
      .Float("intensity", r.intensity);
}

void Write(std::string& out, const Coral& c) {
  JsonObject(out)
      .Float("x", c.x)
      .Float("y", c.y)
      .Float("size", c.size)
      .Int("color", c.color)
      .Int("kind", c.kind)
      .Float("phase", c.phase);
}

void Write(std::string& out, const Starfish& s) {
  JsonObject(out)
      .Float("x", s.x)
      .Float("y", s.y)
      .Float("size", s.size)
      .Int("color", s.color)
      .Float("rotation", s.rotation);
}

// One record per line keeps diffs of two dumps readable.
template <typename Record>
void WriteArray(std::string& out, const std::vector<Record>& records) {
  out += '[';
  for (size_t i = 0; i < records.size(); ++i) {
    out += i ? ",\n    " : "\n    ";
    Write(out, records[i]);
  }
  out += records.empty() ? "]" : "\n  ]";
}

}  // namespace

std::string AquariumToJson(const Aquarium& aquarium, int width, int height) {
  std::string out;
  {
    JsonObject top(out, ",\n  ", "\n}\n");
    top.Int("width", width)
        .Int("height", height)
        .Float("elapsed", aquarium.elapsed)
        .Float("bubbleTimer", aquarium.bubbleTimer)
        .Bool("populated", aquarium.populated)
        .Float("pointerX", aquarium.pointerX)
        .Float("pointerY", aquarium.pointerY)
        .Bool("pointerKnown", aquarium.pointerKnown);
    WriteArray(top.Raw("creatures"), aquarium.creatures);
    WriteArray(top.Raw("bubbles"), aquarium.bubbles);
    WriteArray(top.Raw("plants"), aquarium.plants);
    WriteArray(top.Raw("lightRays"), aquarium.lightRays);
    WriteArray(top.Raw("corals"), aquarium.corals);
    WriteArray(top.Raw("starfish"), aquarium.starfish);
  }
  return out;
}
