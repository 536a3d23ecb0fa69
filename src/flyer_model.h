// The built-in model: constant tables in the program's data, compiled once
// into a display list by CFlyer::CreateDisplayList. The tables themselves are
// generated (see src/flyer_model.cpp).
#pragma once

#include <cstdint>

struct MeshMaterial {
    float ambient[3];
    float diffuse[3];
    float specular[3];
    float emission[3];
    float alpha;  // the fourth component of all four colours
    float shininess;
    int32_t unused;
};

// Corner indices into the position, normal and texture-coordinate tables,
// which are indexed independently. Corners run counter-clockwise seen from
// the side the corner normals face.
struct MeshTriangle {
    int16_t position[3];
    int16_t normal[3];
    int16_t texcoord[3];
};

// A run of consecutive triangles that share one material.
struct MaterialGroup {
    int32_t material;
    int32_t count;
};

const int MESH_MATERIAL_COUNT = 2;
const int MESH_TRIANGLE_COUNT = 512;
const int MESH_POSITION_COUNT = 272;
const int MESH_NORMAL_COUNT = 442;
const int MESH_TEXCOORD_COUNT = 306;
const int MESH_GROUP_COUNT = 2;

extern const MeshMaterial MeshMaterials[MESH_MATERIAL_COUNT];
extern const MeshTriangle MeshTriangles[MESH_TRIANGLE_COUNT];
extern const float MeshPositions[MESH_POSITION_COUNT][3];
extern const float MeshNormals[MESH_NORMAL_COUNT][3];
extern const float MeshTexCoords[MESH_TEXCOORD_COUNT][2];
extern const MaterialGroup MeshGroups[MESH_GROUP_COUNT];
