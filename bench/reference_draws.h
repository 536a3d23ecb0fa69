// Two yardsticks for the drawing pass, drawn on the same context with the
// same frame set-up (clears, projection, lighting) and the same flyers:
//  - the model's triangles sent in immediate mode for every flyer, every
//    frame: what the display list saves;
//  - the floor: all the flyers' triangles, already placed and turned, lit
//    and drawn from one vertex buffer with one glDrawElements call, each
//    distinct corner shared by its triangles: what the renderer could do at
//    best with the same geometry.
#pragma once

// Sends each live flyer of the slot table as immediate-mode triangles.
void DrawImmediateFrame();

// Builds the floor's vertices and indices from the slot table as it stands;
// buffer objects where the context has OpenGL 1.5, else client arrays.
void PrepareFloor();
void DrawFloorFrame();
void ReleaseFloor();
// Where the last floor came from, for the report.
const char* FloorSource();
