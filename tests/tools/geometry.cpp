#include "tests/tools/geometry.h"

#include <algorithm>
#include <map>
#include <utility>

std::vector<Point3> gameVertices(const WalkedObject& object) {
  std::vector<Point3> points;
  for (size_t i = 0; i + 2 < object.vertices.size(); i += 3) {
    points.push_back({object.vertices[i], object.vertices[i + 2], -object.vertices[i + 1]});
  }
  return points;
}

std::string closedSurfaceFault(const std::vector<uint16_t>& triangles) {
  std::map<std::pair<int, int>, int> directed;
  for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
    for (int k = 0; k < 3; ++k) {
      int a = triangles[t + k], b = triangles[t + (k + 1) % 3];
      if (a == b) return "degenerate triangle " + std::to_string(t / 3);
      if (++directed[{a, b}] > 1) {
        return "edge " + std::to_string(a) + "-" + std::to_string(b) + " used twice in one direction";
      }
    }
  }
  for (const auto& [edge, count] : directed) {
    (void)count;
    if (directed.find({edge.second, edge.first}) == directed.end()) {
      return "edge " + std::to_string(edge.first) + "-" + std::to_string(edge.second) + " has one triangle";
    }
  }
  return "";
}

double signedVolume(const std::vector<Point3>& p, const std::vector<uint16_t>& triangles) {
  double volume = 0;
  for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
    Point3 a = p[triangles[t]], b = p[triangles[t + 1]], c = p[triangles[t + 2]];
    Point3 n = cross(b, c);
    volume += (static_cast<double>(a.x) * n.x + static_cast<double>(a.y) * n.y +
               static_cast<double>(a.z) * n.z) / 6.0;
  }
  return volume;
}

Bounds boundsOf(const std::vector<Point3>& points) {
  Bounds b{points.at(0), points.at(0)};
  for (Point3 p : points) {
    b.min = {std::min(b.min.x, p.x), std::min(b.min.y, p.y), std::min(b.min.z, p.z)};
    b.max = {std::max(b.max.x, p.x), std::max(b.max.y, p.y), std::max(b.max.z, p.z)};
  }
  return b;
}
