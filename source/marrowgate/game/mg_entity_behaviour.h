#pragma once
/// Entity behaviours: interchangeable pieces of logic stacked on an entity. Only the behaviour on
/// top of the stack receives the entity's simulate, update, render and collide calls, so pushing a
/// behaviour suspends the one below it until the new one is popped again.
/// @file
/// The same stack serves the 2D entities of the framework and the 3D entities of the game kit; it
/// is a template over the entity type so that a behaviour's collide hook sees the right entity.
/// Header only; depends on the standard library.
///
/// Limits: a popped behaviour is not destroyed at once (it may be the very behaviour whose hook is
/// running); the entity destroys popped behaviours at the points its own class documents.

#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace Marrowgate::Game {

template <class EntityType> class EntityBehaviourInterface
{
public:
    virtual ~EntityBehaviourInterface() = default;

    // Stack notifications. Covered/uncovered bracket the time another behaviour sits on top.
    virtual void OnPushed() {}
    virtual void OnPopped() {}
    virtual void OnCovered() {}
    virtual void OnUncovered() {}

    virtual void OnSimulate() {}
    virtual void OnUpdate(float /*deltaTime*/) {}
    virtual void OnRender() {}
    virtual void OnCollide(EntityType& /*other*/) {}
};

template <class EntityType> class BehaviourStack
{
public:
    using Behaviour = EntityBehaviourInterface<EntityType>;

    BehaviourStack() = default;
    BehaviourStack(const BehaviourStack&) = delete;
    BehaviourStack& operator=(const BehaviourStack&) = delete;
    ~BehaviourStack()
    {
        PopAll();
        DeletePopped();
    }

    void Push(std::unique_ptr<Behaviour> behaviour)
    {
        if (!behaviour) {
            return;
        }
        if (!mStack.empty()) {
            mStack.back()->OnCovered();
        }
        mStack.push_back(std::move(behaviour));
        mStack.back()->OnPushed();
    }

    // The popped behaviour stays alive on the delete list until DeletePopped.
    void Pop()
    {
        if (mStack.empty()) {
            return;
        }
        mPopped.push_back(std::move(mStack.back()));
        mStack.pop_back();
        mPopped.back()->OnPopped();
        if (!mStack.empty()) {
            mStack.back()->OnUncovered();
        }
    }

    void PopAll()
    {
        while (!mStack.empty()) {
            Pop();
        }
    }

    Behaviour* Top() const { return mStack.empty() ? nullptr : mStack.back().get(); }
    std::size_t Size() const { return mStack.size(); }

    // Destroys the popped behaviours, the last popped first. A destructor that pops further
    // behaviours is handled: the loop runs until the list stays empty.
    void DeletePopped()
    {
        while (!mPopped.empty()) {
            std::unique_ptr<Behaviour> last = std::move(mPopped.back());
            mPopped.pop_back();
        }
    }

private:
    std::deque<std::unique_ptr<Behaviour>> mStack; // back is the top
    std::vector<std::unique_ptr<Behaviour>> mPopped;
};

} // namespace Marrowgate::Game
