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
