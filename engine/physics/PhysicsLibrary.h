#pragma once
// ODE needs its collider tables and the calling thread's collision data set
// up before the first geometry, body or world is made. Every physics object
// asks for it when constructed, so the library is ready however the first
// object comes about; start-up may also call it early. Physics runs on the
// main thread only, so that thread's data is the only one made. Shared
// geometries must still be made on first use, never during static
// construction, so that nothing of ODE runs before the program does.

void InitPhysicsLibrary();

// Frees what InitPhysicsLibrary set up. The program calls it as it ends,
// once every physics object is gone; a later physics object sets the
// library up again.
void ClosePhysicsLibrary();
