// Writes the shown world's pieces, as X_ITE built them, to glTF, STL or X3D. The program calls
// modulinoExport.run (format, scale) once the scene is shown; the page answers with a console line
// "modulino<TAB>{kind: exported, chunks, milliseconds}", and the program then takes the file's
// bytes, in base64, through modulinoExport.chunk (index).
"use strict";

const modulinoExport = (() =>
{
   const browser   = X3D .getBrowser (document .querySelector ("x3d-canvas"));
   const ChunkSize = 1 << 22;
   let output      = new Uint8Array ();

   function report (kind, data = { })
   {
      console .log ("modulino\t" + JSON .stringify (Object .assign ({ kind }, data)));
   }

   // The walks of the probe: each piece with its matrix, and the path to a node inside one.
   const { pieceInstances, pathTo } = modulino;

   // The first count vertices of array (stride numbers a vertex) through matrix m: as points, or
   // as normals when m is the inverse of the points' matrix.
   function transform (array, stride, count, m, points)
   {
      const result = new Float64Array (3 * count);

      for (let i = 0; i < count; ++ i)
      {
         const x = array [stride * i], y = array [stride * i + 1], z = array [stride * i + 2];

         for (let c = 0; c < 3; ++ c)
         {
            result [3 * i + c] = points
               ? x * m [c] + y * m [4 + c] + z * m [8 + c] + m [12 + c]
               : x * m [4 * c] + y * m [4 * c + 1] + z * m [4 * c + 2];
         }
      }

      return result;
   }

   // The normal of the triangle of the points i, j, k in p, as long as twice its area.
   function faceNormal (p, i, j, k)
   {
      const a = [0, 1, 2] .map (c => p [3 * j + c] - p [3 * i + c]);
      const b = [0, 1, 2] .map (c => p [3 * k + c] - p [3 * i + c]);

      return [a [1] * b [2] - a [2] * b [1], a [2] * b [0] - a [0] * b [2], a [0] * b [1] - a [1] * b [0]];
   }

   // The triangles of the piece's shape "TVAR" in scene coordinates, wound counter-clockwise seen
   // from outside (the enclosed volume is positive) and each vertex normal on the outer side.
   function triangles (instance, modelMatrix)
   {
      const body     = instance .getBody ();
      const shape    = body .getNamedNode ("TVAR") .getValue ();
      const geometry = shape ._geometry .getValue ();
      const path     = pathTo (body .getRootNodes (), shape, X3D .Matrix4 .IDENTITY .copy ());

      if (!geometry || !path || geometry .getGeometryType () < 2)
         return { positions: [ ], normals: [ ] };

      const m       = path .multRight (modelMatrix);
      const normals = geometry .getNormals () .getValue ();
      const count   = 3 * Math .floor (geometry .getVertices () .length / 12);
      const p       = transform (geometry .getVertices () .getValue (), 4, count, m, true);
      const n       = normals .length ? transform (normals, 3, count, m .copy () .inverse (), false) : null;
      let volume    = 0;

      for (let v = 0; v < count; v += 3)
         volume += faceNormal (p, v, v + 1, v + 2) .reduce ((sum, f, c) => sum + f * p [3 * v + c], 0);

      const positions = [ ];
      const outward   = [ ];

      for (let v = 0; v < count; v += 3)
      {
         const corners = volume < 0 ? [v, v + 2, v + 1] : [v, v + 1, v + 2];
         const face    = faceNormal (p, ... corners);
         const area    = Math .hypot (... face);

         if (area < 1e-12)
            continue;

         for (const w of corners)
         {
            const normal = n ? [n [3 * w], n [3 * w + 1], n [3 * w + 2]] : face;
            const length = Math .hypot (... normal);
            const facing = normal .reduce ((sum, c, i) => sum + c * face [i], 0) > 0;

            positions .push (p [3 * w], p [3 * w + 1], p [3 * w + 2]);
            outward .push (... (facing && length ? normal .map (c => c / length) : face .map (c => c / area)));
         }
      }

      return { positions, normals: outward };
   }

   // Each piece: its name "N tvar", its povrch colour and its triangles.
   function pieces ()
   {
      return pieceInstances (browser .currentScene .getRootNodes (), X3D .Matrix4 .IDENTITY .copy ())
         .map (({ instance, matrix }, i) => Object .assign ({
            name: `${i + 1} ${instance .getField ("tvar") .getValue ()}`,
            colour: [... instance .getField ("povrch") .getValue ()],
         }, triangles (instance, matrix)));
   }

   function base64 (bytes)
   {
      let text = "";

      for (let i = 0; i < bytes .length; i += 0x8000)
         text += String .fromCharCode (... bytes .subarray (i, i + 0x8000));

      return btoa (text);
   }

   // glTF's colours are linear; a VRML colour is seen as sRGB.
   function linear (c)
   {
      return c <= 0.04045 ? c / 12.92 : Math .pow ((c + 0.055) / 1.055, 2.4);
   }

   async function gltf (list, binary)
   {
      // glTF Transform lies in gltf-transform/ beside x_ite/.
      const { Document, WebIO } = await import (new URL ("../gltf-transform/core.js", document .baseURI) .href);
      const model     = new Document ();
      const buffer    = model .createBuffer ();
      const scene     = model .createScene ("Modulino");

      model .getRoot () .getAsset () .generator = "Modulino";

      for (const piece of list)
      {
         const node = model .createNode (piece .name);

         if (piece .positions .length)
         {
            const accessor = (array) => model .createAccessor () .setType ("VEC3") .setArray (new Float32Array (array)) .setBuffer (buffer);
            const material = model .createMaterial (piece .name)
               .setBaseColorFactor ([... piece .colour .map (linear), 1])
               .setMetallicFactor (0)
               .setRoughnessFactor (1);
            const primitive = model .createPrimitive ()
               .setAttribute ("POSITION", accessor (piece .positions))
               .setAttribute ("NORMAL", accessor (piece .normals))
               .setMaterial (material);

            node .setMesh (model .createMesh (piece .name) .addPrimitive (primitive));
         }

         scene .addChild (node);
      }

      const io = new WebIO ();

      if (binary)
         return io .writeBinary (model);

      // One file: the buffer goes inside it as a data URI.
      const { json, resources } = await io .writeJSON (model);

      for (const entry of json .buffers ?? [ ])
         entry .uri = "data:application/octet-stream;base64," + base64 (resources [entry .uri]);

      return new TextEncoder () .encode (JSON .stringify (json));
   }

   // Binary STL, in millimetres, with Z up as slicers expect: the scene's y becomes z.
   function stl (list, scale)
   {
      const count  = list .reduce ((sum, piece) => sum + piece .positions .length / 9, 0);
      const bytes  = new Uint8Array (84 + 50 * count);
      const view   = new DataView (bytes .buffer);
      const corner = new Float64Array (9);
      let offset   = 84;

      bytes .set (new TextEncoder () .encode ("Modulino"));
      view .setUint32 (80, count, true);

      const put = c => { view .setFloat32 (offset, c, true); offset += 4; };

      for (const { positions } of list)
      {
         for (let i = 0; i < positions .length; i += 9, offset += 2)
         {
            for (let k = 0; k < 9; k += 3)
               corner .set ([positions [i + k], -positions [i + k + 2], positions [i + k + 1]] .map (c => c * scale), k);

            const face = faceNormal (corner, 0, 1, 2);
            const area = Math .hypot (... face);

            face .forEach (c => put (c / area));
            corner .forEach (put);
         }
      }

      return bytes;
   }

   // A static X3D scene: one Shape per piece.
   function x3d (list)
   {
      const numbers = array => Array .from (array, c => +c .toFixed (6)) .join (" ");
      const id      = name => "Dilek_" + name .replace (/[^A-Za-z0-9_]/g, "_");
      const shapes  = list .map (piece => `<Shape DEF='${id (piece .name)}'>
<Appearance><Material diffuseColor='${numbers (piece .colour)}'/></Appearance>
<IndexedTriangleSet solid='true' index='${Array .from ({ length: piece .positions .length / 3 }, (_, i) => i) .join (" ")}'>
<Coordinate point='${numbers (piece .positions)}'/>
<Normal vector='${numbers (piece .normals)}'/>
</IndexedTriangleSet>
</Shape>`);

      return new TextEncoder () .encode (`<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE X3D PUBLIC "ISO//Web3D//DTD X3D 3.3//EN" "http://www.web3d.org/specifications/x3d-3.3.dtd">
<X3D profile='Interchange' version='3.3'>
<head><meta name='generator' content='Modulino'/></head>
<Scene>
${shapes .join ("\n")}
</Scene>
</X3D>
`);
   }

   async function run (format, scale)
   {
      try
      {
         const start = performance .now ();
         const list  = pieces ();

         switch (format)
         {
            case "glb":  output = await gltf (list, true); break;
            case "gltf": output = await gltf (list, false); break;
            case "stl":  output = stl (list, scale); break;
            default:     output = x3d (list); break;
         }

         report ("exported", {
            chunks: Math .ceil (output .length / ChunkSize),
            milliseconds: Math .round (performance .now () - start),
         });
      }
      catch (error)
      {
         report ("failed", { message: String (error .message ?? error) });
      }
   }

   function chunk (index)
   {
      return base64 (output .subarray (index * ChunkSize, (index + 1) * ChunkSize));
   }

   return { run, chunk };
})();
