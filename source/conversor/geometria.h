// Geometry shared by the KML writers and the shapefile writer: output vertices and the transform of
// the console's relative metres into degrees.
#pragma once

struct ST_CoordenadaKml
{
    double dLongitude = 0.0;
    double dLatitude = 0.0;
    float fAltitude = 0.0f;
};

// Metres per degree of latitude: the equatorial radius times the console's truncated degree-to-radian
// factor, as the console computes it.
inline constexpr double D_CONVERSOR_METROS_POR_GRAU = 111319.4906660725;

// Relative metres (north, east of the field origin) to degrees: latitude first, then longitude with
// the cosine of the new latitude.
void conversor_TransformarCoordenadasAbsolutas(double dLatRel, double dLonRel, double* pdLatAbs, double* pdLonAbs,
                                               double dLatZeroAbs, double dLonZeroAbs);
