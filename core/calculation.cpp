#include "calculation.h"

#include "coefficients.h"
#include "decimal_reader.h"
#include "geometry.h"
#include "messages.h"
#include "soil_factor.h"

#include <cmath>

namespace {

// The status line as the run leaves it: every message replaces the previous one.
struct TStatus
{
    std::string text;
    TStatusKind kind = TStatusKind::None;

    void Show(std::string_view message, TStatusKind messageKind)
    {
        text = message;
        kind = messageKind;
    }
};

double Product(long double a, long double b, long double c)
{
    return static_cast<double>(a * b * c);
}

class TCalculation
{
public:
    explicit TCalculation(const TPileInput &input)
        : m_input(input)
    { }

    TCalcOutcome Run()
    {
        if (CheckSection() && SumSocketDepth() && EvaluateRockLayers() && EvaluateSoilLayers())
            Finish();
        return std::move(m_outcome);
    }

private:
    bool Fail(TFailureStage stage, std::string message, int layer = 0,
              TInputField field = TInputField::None)
    {
        TCalcFailure failure;
        failure.message = std::move(message);
        failure.field = field;
        failure.stage = stage;
        failure.layer = layer;
        m_outcome.failure = std::move(failure);
        return false;
    }

    bool FailRock(std::string message, int layer, std::string_view hardnessClass)
    {
        Fail(TFailureStage::RockLayer, std::move(message), layer);
        m_outcome.failure->layerHardnessClass = hardnessClass;
        return false;
    }

    bool CheckSection()
    {
        const TSectionType type = m_input.sectionType;
        const bool rectangle = IsRectangular(type);
        const auto d = ReadDecimal(m_input.d);
        if (!d || *d <= 0) {
            return Fail(TFailureStage::Section,
                        std::string(rectangle ? Messages::RectLongError : Messages::DiameterError),
                        0, TInputField::D);
        }
        double c = 0; // a circle has no straight part: its c is neither read nor used
        if (type != TSectionType::Circle) {
            const auto cRead = ReadDecimal(m_input.c);
            if (!cRead || *cRead <= 0) {
                return Fail(TFailureStage::Section,
                            std::string(rectangle ? Messages::RectShortError
                                                  : Messages::EllipseLengthError),
                            0, TInputField::C);
            }
            c = *cRead;
        }
        const TSectionGeometry geometry = SectionGeometry(type, *d, c);
        TPileResult &r = m_outcome.result;
        r.d = geometry.d;
        r.c = geometry.c;
        r.sidesExchanged = geometry.sidesExchanged;
        r.Ap = geometry.Ap;
        r.u = geometry.u;
        return true;
    }

    bool SumSocketDepth()
    {
        double h = 0;
        int layer = 0;
        for (const TRockLayer &rock : m_input.rockLayers) {
            ++layer;
            const auto hi = ReadDecimal(rock.hi);
            if (!hi)
                return Fail(TFailureStage::SocketDepth, Messages::SocketThicknessError(layer),
                            layer);
            h += *hi;
        }
        m_outcome.result.h = h;
        return true;
    }

    // The four checks of user-specified coefficients, in order: c1 range, c1 hint, c2 range,
    // c2 hint. A malformed text fails at the range check of its own coefficient.
    bool ReadSpecified(const TRockLayer &rock, int layer, std::string_view hardnessClass,
                       double &c1, double &c2)
    {
        const auto c1Read = ReadDecimal(rock.c1Specified);
        if (!c1Read || *c1Read < 0 || *c1Read > 1)
            return FailRock(Messages::C1Error(layer), layer, hardnessClass);
        if (*c1Read < 0.39 || *c1Read > 0.61)
            m_status.Show(Messages::C1Hint(layer), TStatusKind::Hint);
        const auto c2Read = ReadDecimal(rock.c2Specified);
        if (!c2Read || *c2Read < 0 || *c2Read > 1)
            return FailRock(Messages::C2Error(layer), layer, hardnessClass);
        if (*c2Read < 0.029 || *c2Read > 0.051)
            m_status.Show(Messages::C2Hint(layer), TStatusKind::Hint);
        c1 = *c1Read;
        c2 = *c2Read;
        return true;
    }

    // Automatic c1 and c2 by the interpolation basis, reduced; fills the layer's remark.
    bool AutomaticCoefficients(const TRockLayer &rock, int layer, TRockLayerResult &result)
    {
        TAutoCoefficients automatic;
        if (m_input.interpBasis == TInterpBasis::IntegrityGrade) {
            const auto byGrade = CoefficientsByGrade(rock.integrityGrade);
            if (!byGrade)
                return FailRock(Messages::GradeUnclear(layer), layer, result.hardnessClass);
            automatic = *byGrade;
        } else {
            const auto kv = ReadDecimal(rock.integrityIndex);
            if (!kv || *kv <= 0 || *kv > 1)
                return FailRock(Messages::IndexError(layer), layer, result.hardnessClass);
            automatic = CoefficientsByIndex(*kv);
        }
        result.remark.reserve(result.hardnessClass.size() + 1 + automatic.integrityText.size());
        result.remark = result.hardnessClass;
        result.remark += ',';
        result.remark += automatic.integrityText;
        ReduceCoefficients(automatic.c1, automatic.c2, m_outcome.result.h, rock.weathering,
                           m_input.boredPile);
        result.c1Interpolated = automatic.c1;
        result.c2Interpolated = automatic.c2;
        return true;
    }

    // c1 and c2 of one layer by the coefficient mode, with their checks and hints.
    bool Coefficients(const TRockLayer &rock, int layer, TRockLayerResult &result)
    {
        const TCoefMode mode = m_input.coefMode;
        if (mode == TCoefMode::Specified) {
            if (!ReadSpecified(rock, layer, result.hardnessClass, result.c1, result.c2))
                return false;
            m_outcome.result.specifiedAdopted = 1;
            return true;
        }
        if (!AutomaticCoefficients(rock, layer, result))
            return false;
        result.c1 = result.c1Interpolated;
        result.c2 = result.c2Interpolated;
        if (mode == TCoefMode::Interpolated)
            return true;
        double c1Specified = 0;
        double c2Specified = 0;
        if (!ReadSpecified(rock, layer, result.hardnessClass, c1Specified, c2Specified))
            return false;
        // A tie adopts the specified value and counts; the specified value is never reduced.
        const bool larger = mode == TCoefMode::LargerOfBoth;
        if (larger ? c1Specified >= result.c1 : c1Specified <= result.c1) {
            result.c1 = c1Specified;
            ++m_outcome.result.specifiedAdopted;
        }
        if (larger ? c2Specified >= result.c2 : c2Specified <= result.c2) {
            result.c2 = c2Specified;
            ++m_outcome.result.specifiedAdopted;
        }
        return true;
    }

    bool EvaluateRockLayers()
    {
        TPileResult &r = m_outcome.result;
        const int count = static_cast<int>(m_input.rockLayers.size());
        r.rockResults.reserve(count);
        double sumRria = 0;
        for (int layer = 1; layer <= count; ++layer) {
            const TRockLayer &rock = m_input.rockLayers[layer - 1];
            const double hi = ReadDecimal(rock.hi).value_or(0); // read well-formed while summing h
            const auto frk = ReadDecimal(rock.frk);
            if (!frk || *frk <= 0)
                return Fail(TFailureStage::RockLayer, Messages::FrkError(layer), layer);
            if (*frk < 2)
                return Fail(TFailureStage::RockLayer, Messages::FrkBelowTwo(layer), layer);
            TRockLayerResult result;
            result.hardnessClass = HardnessClass(*frk);
            if (layer == count)
                m_tipFrk = *frk;
            if (!Coefficients(rock, layer, result))
                return false;
            result.qpa = Product(result.c1, *frk, 1000);
            if (r.h < 0.5) {
                result.c2 = 0;
                result.qra = 0;
                m_status.Show(Messages::ThinSocketNote, TStatusKind::Note);
            } else {
                result.qra = Product(result.c2, *frk, 1000);
            }
            result.Rria = Product(result.qra, hi, r.u);
            sumRria += result.Rria;
            result.sumRria = sumRria;
            if (layer == count) {
                r.socketTip = static_cast<double>(static_cast<long double>(result.qpa) * r.Ap);
                r.socketTotal = r.socketTip + sumRria;
            }
            r.rockResults.push_back(std::move(result));
        }
        r.socketSide = sumRria;
        return true;
    }

    bool EvaluateSoilLayers()
    {
        TPileResult &r = m_outcome.result;
        const int count = static_cast<int>(m_input.soilLayers.size());
        if (count == 0)
            return true;
        r.zetaS = SoilFactor(m_tipFrk);
        r.soilResults.reserve(count);
        double sumRsik = 0;
        for (int layer = 1; layer <= count; ++layer) {
            const TSoilLayer &soil = m_input.soilLayers[layer - 1];
            const auto li = ReadDecimal(soil.li);
            if (!li || *li < 0)
                return Fail(TFailureStage::SoilLayer, Messages::SoilThicknessError(layer), layer);
            const auto qik = ReadDecimal(soil.qik);
            if (!qik || *qik < 0)
                return Fail(TFailureStage::SoilLayer, Messages::SoilResistanceError(layer), layer);
            r.ls += *li;
            TSoilLayerResult result;
            result.zetaS = r.zetaS;
            result.Rsik = static_cast<double>(0.5L * r.zetaS * r.u * *li * *qik);
            sumRsik += result.Rsik;
            result.sumRsik = sumRsik;
            r.soilResults.push_back(result);
        }
        r.soilSide = sumRsik;
        return true;
    }

    void Finish()
    {
        TPileResult &r = m_outcome.result;
        r.Ra = r.socketTotal + r.soilSide;
        if (!std::isfinite(r.Ra)) {
            Fail(TFailureStage::Result, std::string(Messages::OutOfRange));
            return;
        }
        if (r.Ra == 0) {
            Fail(TFailureStage::Result, std::string(Messages::RaZero));
            return;
        }
        bool finite = true;
        const auto share = [&](double part) {
            const double value = static_cast<double>(100.0L * part / r.Ra);
            finite = finite && std::isfinite(value);
            return value;
        };
        for (TRockLayerResult &rock : r.rockResults)
            rock.share = share(rock.Rria);
        for (TSoilLayerResult &soil : r.soilResults)
            soil.share = share(soil.Rsik);
        r.tipShare = share(r.socketTip);
        if (!finite) {
            for (TRockLayerResult &rock : r.rockResults)
                rock.share = 0;
            for (TSoilLayerResult &soil : r.soilResults)
                soil.share = 0;
            r.tipShare = 0;
            Fail(TFailureStage::Result, std::string(Messages::OutOfRange));
            return;
        }
        r.compliant = r.specifiedAdopted == 0;
        if (r.specifiedAdopted >= 1) {
            m_status.kind = TStatusKind::Hint;
            if (m_input.interpBasis == TInterpBasis::IntegrityIndex
                && m_input.coefMode != TCoefMode::Specified)
                m_status.text = Messages::IndexHint;
        }
        r.statusText = std::move(m_status.text);
        r.statusKind = m_status.kind;
    }

    const TPileInput &m_input;
    TCalcOutcome m_outcome;
    TStatus m_status;
    double m_tipFrk = 0;
};

} // namespace

TCalcOutcome Calculate(const TPileInput &input)
{
    return TCalculation(input).Run();
}
