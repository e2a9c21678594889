#!/usr/bin/perl
# Embedding binary files (encode64.pl) and getting them back out (vmrgen.pl).

use strict;
use warnings;

use Digest::SHA ();
use File::Temp ();
use FindBin;
use lib "$FindBin::Bin/lib";
use Test::More;
use VmrScripts;
use XML::LibXML;

# Wraps encode64's output into a document the way the editor does: the root element of
# tmp.txt becomes the second child of a NEWBINFILE.
sub embed {
    my ($encoded_path, $name, $doc_path) = @_;
    my $encoded = slurp($encoded_path);
    $encoded =~ s/\A<\?xml[^>]*\?>\s*//;
    spew($doc_path, port_doc(build => qq{<NEWBINFILE Name="$name"><COMMENT/>$encoded</NEWBINFILE>}));
}

subtest 'small files round trip byte for byte' => sub {
    my $dir = File::Temp->newdir;
    my $bytes = join('', map { chr } 0 .. 255) x 3 . "\r\n\0tail";
    spew("$dir/blob.bin", $bytes);
    spew("$dir/empty.bin", '');
    for my $case (['blob.bin', $bytes], ['empty.bin', '']) {
        my ($name, $content) = @$case;
        unlink "$dir/tmp.txt";
        # The editor runs the script in its own directory and reads tmp.txt there.
        my $r = run_script('encode64.pl', "$dir/$name", 'tmp.txt', { cwd => "$dir" });
        is($r->{status}, 0, "$name: encoded") or diag($r->{stderr});
        my $root = XML::LibXML->load_xml(location => "$dir/tmp.txt")->documentElement;
        is($root->nodeName, 'ENCODED_FILE', "$name: root element");
        is($root->getAttribute('Name'), $name, "$name: name attribute");
        is($root->getAttribute('Size'), length $content, "$name: size attribute");
        is($root->getAttribute('Sha256'), Digest::SHA::sha256_hex($content), "$name: digest");

        embed("$dir/tmp.txt", "out-$name", "$dir/doc.xvm");
        my $gen = run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/targets");
        is($gen->{status}, 0, "$name: generated") or diag($gen->{stderr});
        ok(slurp("$dir/targets/doc/out-$name") eq $content, "$name: decoded byte for byte");
    }
};

subtest 'an unreadable file is reported and nothing is written' => sub {
    my $dir = File::Temp->newdir;
    my $r = run_script('encode64.pl', "$dir/missing.bin", "$dir/out.xml");
    isnt($r->{status}, 0, 'non-zero exit');
    like($r->{last}, qr/cannot read \S*missing\.bin: no such file/, 'reason on the last line');
    ok(!-e "$dir/out.xml", 'no output');
    my $usage = run_script('encode64.pl', "$dir/missing.bin");
    isnt($usage->{status}, 0, 'one argument is refused');
    like($usage->{last}, qr/usage: encode64\.pl FILE OUT/, 'with the usage');
    my $is_dir = run_script('encode64.pl', "$dir", "$dir/out.xml");
    like($is_dir->{last}, qr/is a directory/, 'a directory is no file to embed');
    SKIP: {
        skip 'no /dev/null', 1 unless -e '/dev/null';
        like(run_script('encode64.pl', '/dev/null', "$dir/out.xml")->{last},
             qr/not a regular file/, 'nor is a device');
    }
};

subtest 'damaged embedded data fails generation and keeps the old port' => sub {
    my $dir = File::Temp->newdir;
    spew("$dir/blob.bin", 'x' x 100_000);
    my $r = run_script('encode64.pl', "$dir/blob.bin", "$dir/tmp.txt");
    is($r->{status}, 0, 'encoded');
    embed("$dir/tmp.txt", 'blob.bin', "$dir/doc.xvm");
    is(run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/targets")->{status}, 0, 'first generation');
    my $before = tree_snapshot("$dir/targets");

    my $good = slurp("$dir/doc.xvm");
    my %damage = (
        'a changed character'  => [sub { $_[0] =~ s/<DATA>\n(.)/"<DATA>\n" . ($1 eq 'A' ? 'B' : 'A')/er },
                                   qr/digest does not match/],
        'a missing slice'      => [sub { $_[0] =~ s{<DATA>[^<]*</DATA>\s*}{}r },
                                   qr/bytes instead of 100000/],
        'a character outside base64' => [sub { $_[0] =~ s/<DATA>\n(.)/<DATA>\n!/r },
                                         qr/invalid base64 at line \d+/],
    );
    for my $title (sort keys %damage) {
        my ($edit, $reason) = @{ $damage{$title} };
        spew("$dir/doc.xvm", $edit->($good));
        my $gen = run_script('vmrgen.pl', "$dir/doc.xvm", "$dir/targets");
        isnt($gen->{status}, 0, "$title: generation fails");
        like($gen->{last}, $reason, "$title: reason");
        is_deeply(tree_snapshot("$dir/targets"), $before, "$title: previous port untouched");
    }
};

subtest 'a 50 MB file embeds and decodes back' => sub {
    my $dir = File::Temp->newdir;
    my $path = "$dir/big.bin";
    # Incompressible-looking data without waiting for a random source.
    open(my $fh, '>:raw', $path) or die;
    my $block = join('', map { pack('N', ($_ * 2654435761) & 0xffffffff) } 1 .. 262_144);
    for my $i (1 .. 50) {
        print {$fh} pack('N', $i) . substr($block, 4);
    }
    close $fh;
    is(-s $path, 50 * 1024 * 1024, '50 MB written');
    my $want = Digest::SHA->new(256)->addfile($path, 'b')->hexdigest;

    my $r = run_script('encode64.pl', $path, "$dir/tmp.txt");
    is($r->{status}, 0, 'encoded') or diag($r->{stderr});
    embed("$dir/tmp.txt", 'big.bin', "$dir/big.xvm");
    unlink "$dir/tmp.txt";
    # Generation parses with the parser's default limits, so a text node over 10 MB
    # would fail here.
    my $gen = run_script('vmrgen.pl', "$dir/big.xvm", "$dir/targets");
    is($gen->{status}, 0, 'generated') or diag($gen->{stderr});
    my $out = "$dir/targets/big/big.bin";
    is(-s $out, 50 * 1024 * 1024, 'decoded size');
    is(Digest::SHA->new(256)->addfile($out, 'b')->hexdigest, $want, 'decoded byte for byte');
};

done_testing;
