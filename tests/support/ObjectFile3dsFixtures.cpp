#include "tests/support/ObjectFile3dsFixtures.h"

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include <cstring>
#include <initializer_list>

namespace {

void SetName(char* target, size_t size, const char* name)
{
    strncpy(target, name, size - 1);
    target[size - 1] = '\0';
}

Lib3dsMaterial* Material(const char* name, std::initializer_list<float> diffuse)
{
    Lib3dsMaterial* material = lib3ds_material_new();
    SetName(material->name, sizeof(material->name), name);
    int i = 0;
    for (float channel : diffuse)
        material->diffuse[i++] = channel;
    return material;
}

void Face(Lib3dsMesh* mesh, int f, const char* material, int a, int b, int c)
{
    Lib3dsFace& face = mesh->faceL[f];
    SetName(face.material, sizeof(face.material), material);
    face.points[0] = static_cast<Lib3dsWord>(a);
    face.points[1] = static_cast<Lib3dsWord>(b);
    face.points[2] = static_cast<Lib3dsWord>(c);
}

Lib3dsMesh* Mesh(const char* name, int points, bool textured, int faces)
{
    Lib3dsMesh* mesh = lib3ds_mesh_new(name);
    lib3ds_mesh_new_point_list(mesh, points);
    if (textured)
        lib3ds_mesh_new_texel_list(mesh, points);
    lib3ds_mesh_new_face_list(mesh, faces);
    for (int p = 0; p < points; ++p) {
        for (int axis = 0; axis < 3; ++axis)
            mesh->pointL[p].pos[axis] = float(p + 2) * float(axis + 1);
        if (textured) {
            mesh->texelL[p][0] = 0.25f * float(p);
            mesh->texelL[p][1] = 0.125f * float(p);
        }
    }
    return mesh;
}

Lib3dsNode* Node(Lib3dsFile* file, const char* name, const char* instance, Lib3dsWord id, Lib3dsWord parent)
{
    Lib3dsNode* node = lib3ds_node_new_object();
    SetName(node->name, sizeof(node->name), name);
    SetName(node->data.object.instance, sizeof(node->data.object.instance), instance);
    node->node_id = id;
    node->parent_id = parent;
    lib3ds_file_insert_node(file, node);
    return node;
}

} // namespace

bool Write3dsFixture(const std::string& path)
{
    Lib3dsFile* file = lib3ds_file_new();
    Lib3dsMaterial* red = Material("red", {1.0f, 0.5f, 0.25f});
    for (int i = 0; i < 3; ++i)
        red->specular[i] = 0.2f * float(i + 1);
    SetName(red->texture1_map.name, sizeof(red->texture1_map.name), "brick.png");
    red->texture1_map.scale[0] = 2.0f;
    red->texture1_map.scale[1] = 3.0f;
    lib3ds_file_insert_material(file, red);
    lib3ds_file_insert_material(file, Material("blue", {0.0f, 0.0f, 1.0f}));

    Lib3dsMesh* box = Mesh("Box", 4, true, 4);
    Face(box, 0, "red", 0, 1, 2);
    Face(box, 1, "", 1, 2, 3);
    Face(box, 2, "blue", 2, 3, 0);
    Face(box, 3, "green", 0, 1, 3);
    lib3ds_file_insert_mesh(file, box);
    Lib3dsMesh* child = Mesh("Child", 3, false, 1);
    Face(child, 0, "red", 2, 1, 0);
    lib3ds_file_insert_mesh(file, child);
    Lib3dsMesh* hidden = Mesh("Hidden", 3, false, 1);
    Face(hidden, 0, "red", 0, 1, 2);
    lib3ds_file_insert_mesh(file, hidden);

    Node(file, "Box", "", 0, LIB3DS_NO_PARENT);
    Node(file, "$$$DUMMY", "Child", 1, 0);
    Node(file, "$$$DUMMY", "", 2, LIB3DS_NO_PARENT);

    bool saved = lib3ds_file_save(file, path.c_str());
    lib3ds_file_free(file);
    return saved;
}
