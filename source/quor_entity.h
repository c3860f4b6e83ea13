#pragma once
// QuorEntity: the memory chip the player collects, and the game's score state.
//
// There is one chip in play. When the car touches it, the score rises by one and the same chip
// jumps to a new random place in the square from -10 to 10 on the ground axes, standing at
// height 0.5 (its collision box is 1 x 1 x 1, so it rests on the ground). The score and the
// best score live in memory only: both start at 0 with the program and are never reset.
//
// Depends on: the 3D game kit (entity, collision), the 3D rendering kit (mesh objects), the
// framework's random numbers. Main thread only.

#include "cinderhall/cdh_mesh.h"
#include "orrery/game_entity_manager.h"

#include <cstdint>

// score += points; the best score follows when the score passes it (unsigned comparison).
void AddScore(const std::uint32_t& points);
std::uint32_t GetScore();
std::uint32_t GetBestScore();

class QuorEntity : public Orrery::Game::Entity
{
public:
    // Loads the chip's mesh and places the chip at a random spot.
    QuorEntity();
    ~QuorEntity() override;

    // Keeps the mesh where the chip is.
    void OnUpdate(float deltaTime) override;
    // A car scores and sends the chip elsewhere; anything else is ignored.
    void OnCollide(Orrery::Game::Entity& other) override;

    // Draws x and then z, each in [-10, 10), and moves the chip there at height 0.5 without
    // turning it.
    void Respawn();

private:
    Cinderhall::MeshObject mMesh;
};
