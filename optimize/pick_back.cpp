#include "pick_back.h"

TPickBack PickBack(const TOptCandidate &row, const TCandidateContext &context)
{
    using namespace CandidateColumn;
    TPickBack pick;
    pick.sectionItem = row.section == TOptSection::Circle ? 0
        : row.section == TOptSection::Ellipse             ? 1
                                                          : 2;
    pick.d = CandidateText(row, context, SizeD);
    pick.c = row.section == TOptSection::Circle ? "0" : CandidateText(row, context, SizeC);
    pick.basis = row.basis == 2 ? TInterpBasis::IntegrityIndex : TInterpBasis::IntegrityGrade;
    pick.hi = CandidateText(row, context, Hr);
    pick.weathering = CandidateText(row, context, Weathering);
    if (pick.basis == TInterpBasis::IntegrityGrade)
        pick.integrityGrade = CandidateText(row, context, Integrity);
    else
        pick.integrityIndex = CandidateText(row, context, Integrity);
    pick.frk = CandidateText(row, context, Frk);
    pick.noSoilLayers = !context.withOverburden;
    return pick;
}

TPileInput PickedInput(const TPickBack &pick, TPileInput page)
{
    page.sectionType = static_cast<TSectionType>(pick.sectionItem);
    page.d = pick.d;
    page.c = pick.c;
    page.rockLayers.resize(static_cast<std::size_t>(pick.rockLayerCount));
    page.coefMode = pick.coefMode;
    page.interpBasis = pick.basis;
    TRockLayer &rock = page.rockLayers.front();
    rock.hi = pick.hi;
    rock.weathering = pick.weathering;
    if (pick.integrityGrade)
        rock.integrityGrade = *pick.integrityGrade;
    if (pick.integrityIndex)
        rock.integrityIndex = *pick.integrityIndex;
    rock.frk = pick.frk;
    if (pick.noSoilLayers)
        page.soilLayers.clear();
    return page;
}
