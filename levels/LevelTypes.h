#pragma once

class CLevelFactory;

// Registers every level type and level object of the game with the factory.
void RegisterLevelTypes(CLevelFactory& factory);
