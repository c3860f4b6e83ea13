#pragma once
/// The members of a DynamicStructure: unique names kept in byte-wise name order, each member at
/// one address for as long as the structure holds it.
/// @file
/// Internal to mg_dynamic_structure.cpp and the JSON reader. A structure is one heap block: a
/// small header and room for a fixed number of members after it, which never move. A
/// structure filled in name order (everything the JSON reader or a copy makes, and AddMember
/// with names in order while there is room) is binary-searched in that block directly. The
/// first member that arrives out of order, or that finds the block full, gives the structure
/// an index of pointers in name order and further blocks, each as large as all the members
/// before it; members added there never move either.

#include "marrowgate/core/mg_dynamic_structure.h"

#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace mgImplementation {

// Aligned as a member, so the members right after the header are too: on a 32-bit target the
// header's three words would leave a member of 8-byte alignment misplaced.
class alignas(Marrowgate::Core::DynamicStructure::Member) DynamicStructureMembers
{
public:
    using Member = Marrowgate::Core::DynamicStructure::Member;
    using Pointer = std::unique_ptr<DynamicStructureMembers, DynamicStructureMembersDeleter>;
    // Room for the structures AddMember makes: most hand-built structures are small, and once
    // it is full further blocks double the room.
    static constexpr std::size_t kStartingRoom = 8;

    // An empty structure with room for `capacity` members in name order in its own block.
    static Pointer Make(std::size_t capacity);
    // A copy in name order, in one block with no room to spare, however the original grew.
    static Pointer Copy(const DynamicStructureMembers& other);

    DynamicStructureMembers(const DynamicStructureMembers&) = delete;
    DynamicStructureMembers& operator=(const DynamicStructureMembers&) = delete;

    std::size_t size() const;
    // The member of that name, or null.
    const Member* Find(std::string_view name) const;
    // Adds the member unless the name is present. Returns the member under the name and whether
    // it is the new one.
    std::pair<Member*, bool> Insert(std::string_view name, Marrowgate::Core::DynamicStructure value);
    // For readers that build in name order: the name must sort after every member's. Into the
    // room Make left; once that is full, the member is inserted as above.
    void AppendInNameOrder(Member member);

    template <typename Visitor> void VisitInNameOrder(Visitor&& visit) const
    {
        if (mGrowth == nullptr) {
            for (const Member* member = First(); member != First() + mSize; ++member) {
                visit(*member);
            }
            return;
        }
        for (const Member* member : mGrowth->nameOrder) {
            visit(*member);
        }
    }

private:
    friend struct DynamicStructureMembersDeleter;

    struct Growth
    {
        // Each block is reserved at its final capacity and only appended to.
        std::vector<std::vector<Member>> blocks;
        // Every member, the first block's included, in name order.
        std::vector<Member*> nameOrder;
    };

    explicit DynamicStructureMembers(std::size_t capacity) noexcept : mCapacity(capacity) {}
    ~DynamicStructureMembers() = default;

    // The block's members follow the header.
    Member* First() { return reinterpret_cast<Member*>(this + 1); }
    const Member* First() const { return reinterpret_cast<const Member*>(this + 1); }
    // Builds the index from the first block, which is in name order until then.
    void StartGrowth();
    Member& AppendToLaterBlock(std::string_view name, Marrowgate::Core::DynamicStructure value);

    // Members constructed in the first block, and the room there.
    std::size_t mSize = 0;
    std::size_t mCapacity;
    // Null while the first block alone holds the members, in name order.
    std::unique_ptr<Growth> mGrowth;
};

} // namespace mgImplementation
