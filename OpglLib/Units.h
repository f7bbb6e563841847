#pragma once
// Unit start-up and shut-down, in the documented order: every managed object is created at
// start-up and released in the exact reverse order at shut-down.

// Runs the start-up of every library unit, from the batch runner to the meshes.
void UnitStartup();
// Runs the shut-down of the started units in reverse order. A unit that fails (a settings
// file that cannot be written) is reported to the user and the others still shut down.
void UnitShutdown();
