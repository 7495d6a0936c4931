#version 150 core
#ifdef GL_ARB_texture_gather
#extension GL_ARB_texture_gather : enable
#endif

// Lit pass: Blinn-Phong lighting with an optional colour texture, tangent-space
// normal mapping and soft shadows filtered by hand from the plain depth map.

uniform sampler2D shadowTexture; // unit 0: depth seen from the light
uniform sampler2D firstTexture;  // unit 1: colour
uniform sampler2D normalMap;     // unit 2: tangent-space normals
uniform vec4 ambient;
uniform vec4 diffuse;
uniform vec4 specular;
uniform int useNormalMapping;
uniform int useTexture;

in vec3 eyePosition;
in vec3 eyeNormal;
in vec3 eyeTangent;
flat in vec3 eyeLight;
flat in vec3 eyeAmbientSide;
in vec2 surfaceCoord;
in vec4 shadowCoord;

out vec4 fragmentColour;

// Share of the light that reaches this point: 1 lit, 0 in full shadow.
// Percentage-closer filtering over a 4 x 4 block of shadow-map texels,
// weighted bilinearly at the edges, so shadow borders are soft. Points
// outside the light's view are lit.
float lightReaching()
{
    if (shadowCoord.w <= 0.0)
        return 1.0;
    vec3 coord = shadowCoord.xyz / shadowCoord.w;
    if (coord.x <= 0.0 || coord.x >= 1.0 || coord.y <= 0.0 || coord.y >= 1.0 || coord.z >= 1.0)
        return 1.0;

    vec2 size = vec2(textureSize(shadowTexture, 0));
    vec2 texel = coord.xy * size - 0.5;
    vec2 base = floor(texel);
    vec2 blend = texel - base;
    // A small slope-independent margin on top of the depth pass's polygon
    // offset keeps lit surfaces from shadowing themselves.
    float depth = coord.z - 0.0005;

    // Weights of the block's columns and rows: the outer ones by how far the
    // point lies towards them, the inner two whole.
    vec4 column = vec4(1.0 - blend.x, 1.0, 1.0, blend.x);
    vec4 row = vec4(1.0 - blend.y, 1.0, 1.0, blend.y);
#ifdef GL_ARB_texture_gather
    // Four gathers, one per 2 x 2 quarter of the block, each taken at the
    // corner its four texels share. A gather returns them in the order
    // (left, top), (right, top), (right, bottom), (left, bottom).
    vec2 corner = base / size;
    vec2 span = 2.0 / size;
    vec4 lowerLeft = step(vec4(depth), textureGather(shadowTexture, corner));
    vec4 lowerRight = step(vec4(depth), textureGather(shadowTexture, corner + vec2(span.x, 0.0)));
    vec4 upperLeft = step(vec4(depth), textureGather(shadowTexture, corner + vec2(0.0, span.y)));
    vec4 upperRight = step(vec4(depth), textureGather(shadowTexture, corner + span));
    float lit = dot(lowerLeft, vec4(column.x * row.y, column.y * row.y, column.y * row.x, column.x * row.x))
              + dot(lowerRight, vec4(column.z * row.y, column.w * row.y, column.w * row.x, column.z * row.x))
              + dot(upperLeft, vec4(column.x * row.w, column.y * row.w, column.y * row.z, column.x * row.z))
              + dot(upperRight, vec4(column.z * row.w, column.w * row.w, column.w * row.z, column.z * row.z));
#else
    float lit = 0.0;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            vec2 at = (base + vec2(x - 1, y - 1) + 0.5) / size;
            float inLight = depth <= texture(shadowTexture, at).r ? 1.0 : 0.0;
            lit += inLight * column[x] * row[y];
        }
    }
#endif
    return lit / 9.0;
}

void main()
{
    vec3 n = normalize(eyeNormal);
    if (useNormalMapping != 0) {
        // Gram-Schmidt: the interpolated tangent is made orthogonal to the
        // interpolated normal again before the frame is built.
        vec3 t = eyeTangent - n * dot(n, eyeTangent);
        if (dot(t, t) > 1e-12) {
            t = normalize(t);
            vec3 b = cross(n, t);
            vec3 m = texture(normalMap, surfaceCoord).rgb * 2.0 - 1.0;
            n = normalize(t * m.x + b * m.y + n * m.z);
        }
    }

    vec4 colour = diffuse;
    if (useTexture != 0)
        colour = texture(firstTexture, surfaceCoord);

    vec3 toLight = normalize(eyeLight - eyePosition);
    vec3 toViewer = normalize(-eyePosition);
    vec3 halfway = normalize(toLight + toViewer);
    float diffuseShare = max(dot(n, toLight), 0.0);
    // The 32nd power by five squarings: the same to rounding as pow, which
    // costs a logarithm and an exponential per fragment on a CPU rasteriser.
    float specularShare = max(dot(n, halfway), 0.0);
    specularShare *= specularShare;
    specularShare *= specularShare;
    specularShare *= specularShare;
    specularShare *= specularShare;
    specularShare *= specularShare;
    if (diffuseShare <= 0.0)
        specularShare = 0.0;

    // Surfaces turned away from the light get neither diffuse nor specular
    // light, so they need no shadow look-up.
    float light = diffuseShare > 0.0 ? lightReaching() : 0.0;
    float ambientShare = 0.75 + 0.25 * dot(n, eyeAmbientSide);
    vec3 lit = ambientShare * ambient.rgb * colour.rgb
             + light * (diffuseShare * colour.rgb + specularShare * specular.rgb * 0.5);
    fragmentColour = vec4(lit, 1.0);
}
