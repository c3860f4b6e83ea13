#include "marrowgate/core/mg_dynamic_structure_members.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>

namespace {

using mgImplementation::DynamicStructureMembers;

std::string_view NameOf(const DynamicStructureMembers::Member& member)
{
    return member.first;
}

std::string_view NameOf(const DynamicStructureMembers::Member* member)
{
    return member->first;
}

// The first entry whose name is not less than `name`.
template <typename Iterator> Iterator LowerBound(Iterator begin, Iterator end, std::string_view name)
{
    return std::lower_bound(
        begin, end, name, [](const auto& entry, std::string_view wanted) { return NameOf(entry) < wanted; });
}

} // namespace

namespace mgImplementation {

static_assert(sizeof(DynamicStructureMembers) % alignof(DynamicStructureMembers::Member) == 0 &&
                  alignof(DynamicStructureMembers::Member) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__,
              "members must be aligned right after the header");

DynamicStructureMembers::Pointer DynamicStructureMembers::Make(std::size_t capacity)
{
    constexpr std::size_t kMostMembers =
        (std::numeric_limits<std::size_t>::max() - sizeof(DynamicStructureMembers)) / sizeof(Member);
    if (capacity > kMostMembers) {
        throw std::bad_alloc();
    }
    void* block = ::operator new(sizeof(DynamicStructureMembers) + capacity * sizeof(Member));
    return Pointer(new (block) DynamicStructureMembers(capacity));
}

DynamicStructureMembers::Pointer DynamicStructureMembers::Copy(const DynamicStructureMembers& other)
{
    Pointer copy = Make(other.size());
    other.VisitInNameOrder([&copy](const Member& member) { copy->AppendInNameOrder(member); });
    return copy;
}

void DynamicStructureMembersDeleter::operator()(DynamicStructureMembers* members) const noexcept
{
    std::destroy_n(members->First(), members->mSize);
    members->~DynamicStructureMembers();
    ::operator delete(members);
}

std::size_t DynamicStructureMembers::size() const
{
    return mGrowth == nullptr ? mSize : mGrowth->nameOrder.size();
}

const DynamicStructureMembers::Member* DynamicStructureMembers::Find(std::string_view name) const
{
    if (mGrowth == nullptr) {
        const Member* member = LowerBound(First(), First() + mSize, name);
        return member != First() + mSize && member->first == name ? member : nullptr;
    }
    const auto member = LowerBound(mGrowth->nameOrder.begin(), mGrowth->nameOrder.end(), name);
    return member != mGrowth->nameOrder.end() && (*member)->first == name ? *member : nullptr;
}

std::pair<DynamicStructureMembers::Member*, bool>
DynamicStructureMembers::Insert(std::string_view name, Marrowgate::Core::DynamicStructure value)
{
    if (const Member* existing = Find(name)) {
        return {const_cast<Member*>(existing), false};
    }
    if (mGrowth == nullptr) {
        const bool sortsLast = mSize == 0 || NameOf(First()[mSize - 1]) < name;
        if (sortsLast && mSize < mCapacity) {
            AppendInNameOrder(Member(name, std::move(value)));
            return {&First()[mSize - 1], true};
        }
        StartGrowth();
    }
    Member& added = AppendToLaterBlock(name, std::move(value));
    const auto position = LowerBound(mGrowth->nameOrder.begin(), mGrowth->nameOrder.end(), name);
    mGrowth->nameOrder.insert(position, &added);
    return {&added, true};
}

void DynamicStructureMembers::AppendInNameOrder(Member member)
{
    if (mGrowth != nullptr || mSize == mCapacity) {
        Insert(member.first, std::move(member.second));
        return;
    }
    new (First() + mSize) Member(std::move(member));
    ++mSize;
}

void DynamicStructureMembers::StartGrowth()
{
    auto growth = std::make_unique<Growth>();
    growth->nameOrder.reserve(mSize + 1);
    for (Member* member = First(); member != First() + mSize; ++member) {
        growth->nameOrder.push_back(member);
    }
    mGrowth = std::move(growth);
}

DynamicStructureMembers::Member&
DynamicStructureMembers::AppendToLaterBlock(std::string_view name, Marrowgate::Core::DynamicStructure value)
{
    std::vector<std::vector<Member>>& blocks = mGrowth->blocks;
    if (blocks.empty() || blocks.back().size() == blocks.back().capacity()) {
        // Moving a block into a larger list of blocks keeps its buffer, so no member moves.
        blocks.emplace_back().reserve(std::max(kStartingRoom, size()));
    }
    return blocks.back().emplace_back(std::string(name), std::move(value));
}

} // namespace mgImplementation
