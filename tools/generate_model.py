#!/usr/bin/env python3
"""Builds the flyer's model and writes it as C++ tables.

    python3 tools/generate_model.py > src/flyer_model.cpp

The model is a curved, tapering body swept along a sagging spine,
17 rings of 16 positions from the front end (ring 0) to the rear end
(ring 16). Its tables keep the layout that the display-list compiler reads:

  * 16 bands of 16 quads; each quad is two triangles, 512 in all. The three
    bands at either end are dark (material 0) and are listed first,
    the ten bands of the yellow middle (material 1) follow.
  * A quad's corners q0..q3 are (r+1, c), (r, c), (r, c+1), (r+1, c+1) and
    run clockwise seen from outside; it is split into (q2, q1, q0) and
    (q2, q0, q3), which are counter-clockwise from outside.
  * Positions are numbered in order of first use, reading each triangle's
    corners from last to first; normals and texture coordinates in order of
    first use, reading corners from first to last.
  * The surface is mapped as two halves (upper and lower) that meet along the
    sides, so the two side columns carry two texture coordinates each:
    18 per ring, 306 in all. s runs along the length, t round each half.
  * The eight odd columns are soft ridges of the surface: a ridge has one normal
    for each side, leaning a little towards that side's facets, and the two
    side seams keep one normal per half. That gives 26 normals per ring, 442.

The published rows (vertex 0, normal 0, texture coordinate 0 and triangle
511) are then put in place: the three values are pinned to their published
figures, which must lie next to the computed ones, and the corners of the
last triangle are relabelled by swapping table rows.
"""

import math
import sys

RINGS = 17
COLUMNS = 16
SEAM_COLUMNS = (0, 8)          # the sides, where the two halves of the surface meet
RIDGE_LEAN = 0.12              # how far a ridge normal leans towards its own side
T_SPAN = 1.17                  # t runs 0..T_SPAN round each half of the surface
MATERIAL0_FRONT_BANDS = (0, 1, 2)
MATERIAL0_BACK_BANDS = (13, 14, 15)
MATERIAL1_BANDS = tuple(range(3, 13))

# Ring stations along the spine, 0 at the front end and 1 at the rear end.
# The front end is a small nub, the body swells quickly and then thins slowly into
# the rear end.
STATIONS = (0.0, 0.034, 0.07, 0.132, 0.2, 0.28, 0.36, 0.43, 0.5, 0.6, 0.7, 0.8, 0.9,
            0.9925, 0.995, 0.9975, 1.0)

PUBLISHED_VERTEX0 = (-0.461123, 0.125012, -0.00782693)
PUBLISHED_NORMAL0 = (0.00739077, -0.0306443, -0.999503)
PUBLISHED_TEXCOORD0 = (0.023316, 0.168516)
PUBLISHED_TRIANGLE511 = ((271, 82, 111), (417, 419, 441), (289, 291, 305))
PUBLISHED_TRIANGLE0 = ((2, 1, 0), (0, 1, 2), (0, 1, 2))
PUBLISHED_TRIANGLE1 = ((2, 0, 3), (0, 2, 3), (0, 2, 3))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def scale(a, k):
    return tuple(x * k for x in a)


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def normalize(a):
    length = math.sqrt(dot(a, a))
    return scale(a, 1.0 / length)


def distance(a, b):
    return math.sqrt(dot(sub(a, b), sub(a, b)))


# --- The surface --------------------------------------------------------------

def smooth_curve(points):
    """A C1 curve through (u, value) control points (Catmull-Rom segments)."""
    us = [p[0] for p in points]
    vs = [p[1] for p in points]

    def slope(i):
        lo, hi = max(i - 1, 0), min(i + 1, len(us) - 1)
        return (vs[hi] - vs[lo]) / (us[hi] - us[lo])

    def value(u):
        u = min(max(u, us[0]), us[-1])
        i = max(j for j in range(len(us) - 1) if us[j] <= u) if u < us[-1] else len(us) - 2
        h = us[i + 1] - us[i]
        t = (u - us[i]) / h
        h00, h10 = 2 * t ** 3 - 3 * t ** 2 + 1, t ** 3 - 2 * t ** 2 + t
        h01, h11 = -2 * t ** 3 + 3 * t ** 2, t ** 3 - t ** 2
        return h00 * vs[i] + h10 * h * slope(i) + h01 * vs[i + 1] + h11 * h * slope(i + 1)
    return value


# The centre line sags from the front end to the middle and rises again to
# the rear end; the front nub is hooked a little downwards.
spine_height = smooth_curve([(0.0, 0.118), (0.035, 0.1155), (0.10, 0.080), (0.25, 0.004),
                             (0.5, -0.0515), (0.75, -0.014), (0.90, 0.036), (1.0, 0.080)])
# The nub leans a touch towards +z; the body is centred.
spine_side = smooth_curve([(0.0, 0.004), (0.035, 0.0042), (0.15, 0.002), (0.3, 0.0), (1.0, 0.0)])
# Radius across the curve (y): a nub, a quick swell, a long slow taper into
# the rear end.
half_height = smooth_curve([(0.0, 0.024), (0.035, 0.0245), (0.08, 0.034), (0.15, 0.056),
                            (0.3, 0.083), (0.5, 0.0910), (0.7, 0.083), (0.85, 0.055),
                            (0.95, 0.026), (0.985, 0.016), (1.0, 0.0155)])
# Radius sideways (z): the nub is narrow, the body a little wider than high.
half_width = smooth_curve([(0.0, 0.012), (0.035, 0.0126), (0.08, 0.024), (0.15, 0.055),
                           (0.3, 0.096), (0.5, 0.111), (0.7, 0.101), (0.85, 0.065),
                           (0.95, 0.028), (0.985, 0.017), (1.0, 0.016)])


def spine(u):
    return (u - 0.5, spine_height(u), spine_side(u))


SECTION_EXPONENT = 2.4  # a little squarer than an ellipse


def section(angle):
    c, s = math.cos(angle), math.sin(angle)
    e = 2.0 / SECTION_EXPONENT
    return (math.copysign(abs(c) ** e, c), math.copysign(abs(s) ** e, s))


COLUMN_TURN = -1  # +1 or -1: the way the columns run round the body


def column_angle(column):
    # Column 1 lies on the -z side and column 0 above it.
    return -math.pi / 2 + COLUMN_TURN * 2.0 * math.pi * (column - 1) / COLUMNS


def surface(u, angle):
    """A point of the swept surface; rings lie across the spine's direction."""
    centre = spine(u)
    h = 1e-4
    tangent = normalize(sub(spine(min(1.0, u + h)), spine(max(0.0, u - h))))
    side = (0.0, 0.0, 1.0)
    up = normalize(cross(side, tangent))
    cy, cz = section(angle)
    return add(centre, add(scale(up, cy * half_height(u)), scale(side, cz * half_width(u))))


def surface_normal(u, angle):
    h = 1e-5
    du = sub(surface(min(1.0, u + h), angle), surface(max(0.0, u - h), angle))
    da = sub(surface(u, angle + h), surface(u, angle - h))
    n = normalize(cross(du, da))
    # Outward: away from the spine.
    return n if dot(n, sub(surface(u, angle), spine(u))) > 0 else scale(n, -1.0)


# --- Building the mesh --------------------------------------------------------

def build():
    raw = [[surface(STATIONS[r], column_angle(c)) for c in range(COLUMNS)] for r in range(RINGS)]
    # Scale (uniformly) and shift so that the body runs exactly from x = -0.5
    # to x = 0.5.
    xs = [p[0] for ring in raw for p in ring]
    k = 1.0 / (max(xs) - min(xs))
    shift = -0.5 - min(xs) * k
    grid = [[(p[0] * k + shift, p[1] * k, p[2] * k) for p in ring] for ring in raw]
    smooth = [[surface_normal(STATIONS[r], column_angle(c)) for c in range(COLUMNS)]
              for r in range(RINGS)]
    return grid, smooth


def quad_corners(band, column):
    c1 = (column + 1) % COLUMNS
    return ((band + 1, column), (band, column), (band, c1), (band + 1, c1))


def triangle_list():
    """Triangles as (material, corners, quad column); corners are (ring, column)."""
    triangles = []
    for material, bands in ((0, MATERIAL0_FRONT_BANDS + MATERIAL0_BACK_BANDS), (1, MATERIAL1_BANDS)):
        for band in bands:
            for column in range(COLUMNS):
                q = quad_corners(band, column)
                triangles.append((material, (q[2], q[1], q[0]), column))
                triangles.append((material, (q[2], q[0], q[3]), column))
    return triangles


def half_of(quad_column):
    return 0 if quad_column < SEAM_COLUMNS[1] else 1


def corner_keys(corner, quad_column):
    """Keys that tell which normal and texture coordinate a corner takes."""
    ring, column = corner
    leans_forward = column == quad_column  # the quad lies on the column's +side
    if column in SEAM_COLUMNS:
        half = half_of(quad_column)
        return (ring, column, 'half', half), (ring, column, half)
    if column % 2 == 1:
        return (ring, column, 'ridge', leans_forward), (ring, column)
    return (ring, column), (ring, column)


def texcoord_value(grid, corner, half):
    ring, column = corner
    s = grid[ring][column][0] + 0.5
    # Columns 0..8 make the upper half and 8..16 the lower one.
    step = column if half == 0 else (column if column != 0 else COLUMNS) - SEAM_COLUMNS[1]
    return (s, T_SPAN * step / (COLUMNS // 2))


def ridge_normal(grid, smooth, ring, column, leans_forward):
    """The smooth normal leaning a little towards the facets on one side."""
    neighbour = (column + 1) % COLUMNS if leans_forward else (column - 1) % COLUMNS
    along = sub(grid[min(ring + 1, RINGS - 1)][column], grid[max(ring - 1, 0)][column])
    across = sub(grid[ring][neighbour], grid[ring][column])
    facet = normalize(cross(along, across) if leans_forward else cross(across, along))
    n = smooth[ring][column]
    if dot(facet, n) < 0:
        facet = scale(facet, -1)
    return normalize(add(n, scale(sub(facet, n), RIDGE_LEAN)))


def number_by_first_use(triangles, key_of, reverse):
    numbers = {}
    rows = []
    for tri in triangles:
        corners = tri[1]
        order = (2, 1, 0) if reverse else (0, 1, 2)
        for i in order:
            key = key_of(tri, i)
            if key not in numbers:
                numbers[key] = len(numbers)
        rows.append(tuple(numbers[key_of(tri, i)] for i in range(3)))
    return numbers, rows


def swap_labels(rows, values, a, b):
    if a == b:
        return
    values[a], values[b] = values[b], values[a]
    for t, row in enumerate(rows):
        rows[t] = tuple(b if i == a else a if i == b else i for i in row)


def make_model():
    grid, smooth = build()
    triangles = triangle_list()

    pos_numbers, pos_rows = number_by_first_use(triangles, lambda t, i: t[1][i], reverse=True)
    nrm_numbers, nrm_rows = number_by_first_use(
        triangles, lambda t, i: corner_keys(t[1][i], t[2])[0], reverse=False)
    tex_numbers, tex_rows = number_by_first_use(
        triangles, lambda t, i: corner_keys(t[1][i], t[2])[1], reverse=False)

    positions = [None] * len(pos_numbers)
    for (ring, column), n in pos_numbers.items():
        positions[n] = grid[ring][column]
    normals = [None] * len(nrm_numbers)
    for key, n in nrm_numbers.items():
        ring, column = key[0], key[1]
        if len(key) == 4 and key[2] == 'ridge':
            normals[n] = ridge_normal(grid, smooth, ring, column, key[3])
        else:
            normals[n] = smooth[ring][column]
    texcoords = [None] * len(tex_numbers)
    for key, n in tex_numbers.items():
        half = key[2] if len(key) == 3 else (0 if key[1] <= SEAM_COLUMNS[1] else 1)
        texcoords[n] = texcoord_value(grid, (key[0], key[1]), half)

    # The published rows.
    for rows, values, wanted in zip((pos_rows, nrm_rows, tex_rows), (positions, normals, texcoords),
                                    PUBLISHED_TRIANGLE511):
        for corner in range(3):
            current = rows[-1][corner]
            assert current > 3 and wanted[corner] > 3, "the relabelling must leave the first quad alone"
            swap_labels(rows, values, current, wanted[corner])
    for rows, wanted0, wanted1, wanted511 in zip((pos_rows, nrm_rows, tex_rows), PUBLISHED_TRIANGLE0,
                                                 PUBLISHED_TRIANGLE1, PUBLISHED_TRIANGLE511):
        assert rows[0] == wanted0 and rows[1] == wanted1 and rows[-1] == wanted511, rows[-1]

    for values, wanted, tolerance, what in ((positions, PUBLISHED_VERTEX0, 0.012, 'vertex 0'),
                                           (normals, PUBLISHED_NORMAL0, 0.12, 'normal 0'),
                                           (texcoords, PUBLISHED_TEXCOORD0, 0.2, 'texcoord 0')):
        gap = distance(values[0], wanted)
        print(f'{what}: computed {tuple(round(v, 5) for v in values[0])}, pinned, gap {gap:.4f}',
              file=sys.stderr)
        assert gap < tolerance, what
        values[0] = wanted

    # Counter-clockwise from the side that the corner normals face.
    for p, n in zip(pos_rows, nrm_rows):
        a, b, c = (positions[i] for i in p)
        facet = cross(sub(b, a), sub(c, a))
        assert all(dot(facet, normals[i]) > 0 for i in n), 'winding'

    rows = [p + n + t for p, n, t in zip(pos_rows, nrm_rows, tex_rows)]
    materials = [tri[0] for tri in triangles]
    return positions, normals, texcoords, rows, materials


# --- Output ----------------------------------------------------------------------

def fmt(v):
    text = f'{v:.6g}'
    if 'e' in text:
        text = f'{v:.9f}'.rstrip('0')
    if '.' not in text:
        text += '.0'
    return text + 'f'


def write(positions, normals, texcoords, rows):
    out = []
    w = out.append
    w('// Generated by tools/generate_model.py (python3 tools/generate_model.py > src/flyer_model.cpp);')
    w('// edit the generator, not this file.')
    w('#include "flyer_model.h"')
    w('')
    w('const MeshMaterial MeshMaterials[MESH_MATERIAL_COUNT] = {')
    w('    // ambient, diffuse, specular, emission, alpha, shininess, unused')
    w('    {{0.036f, 0.025f, 0.02f}, {0.36f, 0.25f, 0.2f}, {0.2f, 0.2f, 0.2f}, {0.0f, 0.0f, 0.0f}, 1.0f, 25.6f, -1},')
    w('    {{0.1f, 0.1f, 0.0f}, {1.0f, 1.0f, 0.0f}, {0.2f, 0.2f, 0.2f}, {0.0f, 0.0f, 0.0f}, 1.0f, 25.6f, -1},')
    w('};')
    w('')
    w('const MaterialGroup MeshGroups[MESH_GROUP_COUNT] = {{0, 192}, {1, 320}};')
    w('')
    w('const MeshTriangle MeshTriangles[MESH_TRIANGLE_COUNT] = {')
    for row in rows:
        w('    {{' + '}, {'.join(', '.join(str(i) for i in row[k:k + 3]) for k in (0, 3, 6)) + '}},')
    w('};')
    w('')
    for name, count, values in (('MeshPositions', 'MESH_POSITION_COUNT', positions),
                                ('MeshNormals', 'MESH_NORMAL_COUNT', normals),
                                ('MeshTexCoords', 'MESH_TEXCOORD_COUNT', texcoords)):
        w(f'const float {name}[{count}][{len(values[0])}] = {{')
        for v in values:
            w('    {' + ', '.join(fmt(x) for x in v) + '},')
        w('};')
        w('')
    sys.stdout.write('\n'.join(out[:-1]) + '\n')


def report(positions, rows, materials):
    def span(ids, axis):
        vals = [positions[i][axis] for i in ids]
        return min(vals), max(vals)
    used = {m: set() for m in (0, 1)}
    for row, m in zip(rows, materials):
        used[m].update(row[:3])
    every = range(len(positions))
    print('x', span(every, 0), 'y', span(every, 1), 'z', span(every, 2), file=sys.stderr)
    for m in (0, 1):
        print(f'material {m}: {len(used[m])} positions, x', span(used[m], 0), file=sys.stderr)


def main():
    positions, normals, texcoords, rows, materials = make_model()
    assert (len(positions), len(normals), len(texcoords), len(rows)) == (272, 442, 306, 512)
    report(positions, rows, materials)
    write(positions, normals, texcoords, rows)


if __name__ == '__main__':
    main()
